// The main window over the in-memory serial device, with every message box
// recorded instead of shown.
#pragma once

#include "app/Unit1.h"

#include "FakeCommApi.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

class WindowFixture : public ::testing::Test {
protected:
    WindowFixture()
    {
        SetDialogRecorder([this](const DialogRecord& record) { boxes.push_back(record); });
        SetExceptionHandler(ShowException);
    }
    ~WindowFixture() override
    {
        SetDialogRecorder({});
        SetExceptionHandler({});
    }

    // Hands `bytes` to the window as one receive event.
    void Feed(std::string_view bytes)
    {
        form.CommPortDriver1ReceiveData(form.CommPortDriver1, bytes.data(),
                                        static_cast<platform::DWORD>(bytes.size()));
    }

    // The Y values of the chart's series, in order.
    std::vector<double> ChartReadings() const
    {
        std::vector<double> values;
        for (int i = 0; i < form.Series1->PointCount(); ++i)
            values.push_back(form.Series1->YValue(i));
        return values;
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const DialogRecord& box : boxes)
            texts.push_back(box.Caption + ": " + box.Text);
        return texts;
    }

    FakeCommApi api;
    TForm1 form{api};
    std::vector<DialogRecord> boxes;
};

// The window with a meter on the fake port "COM7", typed into the port list.
class MeterOnFakePort : public WindowFixture {
protected:
    static constexpr const char* kDevice = "\\\\.\\COM7";

    MeterOnFakePort() : device(api.AddDevice(kDevice)) { form.ComboBox1->SetText("COM7"); }

    // The driver's next receive tick finds `bytes` waiting; the tick runs
    // at once, without the event loop.
    void Receive(const std::string& bytes)
    {
        device.input.insert(device.input.end(), bytes.begin(), bytes.end());
        form.CommPortDriver1->NotifyWindow().Perform(WM_TIMER, TCommPortDriver::kReceiveTimerId);
    }

    // "START" and the meter's answer.
    void Greet()
    {
        form.Button1Click(form.Button1);
        Receive("HELLO#");
    }

    FakeCommApi::Device& device;
};

inline std::string Written(const FakeCommApi::Device& device)
{
    return std::string(device.written.begin(), device.written.end());
}

