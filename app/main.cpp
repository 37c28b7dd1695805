// Start-up: the application, its error box, the main window, the message
// loop until the window closes.
#include "app/Unit1.h"

#include "runtime/Dialogs.h"
#include "runtime/Forms.h"

int main(int argc, char* argv[])
{
    TApplication application(argc, argv, {":/umbrascope.png", UMBRASCOPE_APP_ID});
    InstallApplicationErrorBox();

    TForm1 form;
    return application.Run(form);
}
