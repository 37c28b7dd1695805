// The driver's two hot paths: the receive tick that finds nothing waiting
// (twenty times a second for as long as the port is open) and the poll
// request "V#". Both on a real pseudo-terminal, where the cost is the system
// calls, and on the in-memory device, where it is the driver's own work.
#include "serial/CPDrv.h"

#include "FakeCommApi.h"
#include "PtyPeer.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

void IdleTick(benchmark::State& state, TCommPortDriver& driver)
{
    int delivered = 0;
    driver.SetOnReceiveData([&](TObject*, const void*, platform::DWORD) { ++delivered; });
    for (auto _ : state)
        driver.NotifyWindow().Perform(WM_TIMER, TCommPortDriver::kReceiveTimerId);
    if (delivered != 0)
        state.SkipWithError("an idle tick delivered data");
}

void BM_IdleTickPty(benchmark::State& state)
{
    PtyPeer peer;
    TCommPortDriver driver(nullptr);
    driver.SetPortName(peer.DeviceName());
    if (!driver.Connect())
        return state.SkipWithError("cannot open the pseudo-terminal");
    IdleTick(state, driver);
}
BENCHMARK(BM_IdleTickPty);

void BM_IdleTickFake(benchmark::State& state)
{
    FakeCommApi api;
    api.AddDevice("meter");
    TCommPortDriver driver(nullptr, api);
    driver.SetPortName("meter");
    driver.Connect();
    IdleTick(state, driver);
}
BENCHMARK(BM_IdleTickFake);

void BM_SendPollRequestPty(benchmark::State& state)
{
    PtyPeer peer;
    TCommPortDriver driver(nullptr);
    driver.SetPortName(peer.DeviceName());
    if (!driver.Connect())
        return state.SkipWithError("cannot open the pseudo-terminal");
    int sent = 0;
    for (auto _ : state) {
        if (!driver.SendString("V#"))
            return state.SkipWithError("a send fell short");
        // The meter's side must read, or the pseudo-terminal's buffer fills.
        if (++sent % 512 == 0) {
            state.PauseTiming();
            peer.Drain();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_SendPollRequestPty);

void BM_SendPollRequestFake(benchmark::State& state)
{
    FakeCommApi api;
    auto& device = api.AddDevice("meter");
    TCommPortDriver driver(nullptr, api);
    driver.SetPortName("meter");
    driver.Connect();
    for (auto _ : state) {
        benchmark::DoNotOptimize(driver.SendString("V#"));
        if (device.written.size() > 1 << 16) {
            device.written.clear();
            device.writeSizes.clear();
        }
    }
}
BENCHMARK(BM_SendPollRequestFake);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);  // the driver's receive timer needs an event loop's thread
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
