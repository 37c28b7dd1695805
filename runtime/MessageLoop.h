// The user-interface thread's messages: timers, paints, input.
#pragma once

// Handles every message waiting now, then returns without waiting for more.
void ProcessMessages();
