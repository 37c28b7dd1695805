// "START", the poll tick and the port list, over the in-memory serial device.
#include "WindowFixture.h"

#include "platform/SerialPorts.h"
#include "runtime/ControlsSystem.h"

#include <string>
#include <vector>

namespace {

using Connection = MeterOnFakePort;

TEST_F(Connection, StartOpensThePortAtTheChosenNameAndGreets)
{
    form.Button1Click(form.Button1);
    EXPECT_TRUE(form.CommPortDriver1->Connected());
    EXPECT_EQ(form.CommPortDriver1->PortName(), kDevice);
    EXPECT_EQ(device.dcb.BaudRate, 9600u);
    EXPECT_EQ(Written(device), "H#");
    EXPECT_EQ(form.Caption(), "Umbrascope - connect...");
    EXPECT_FALSE(form.Label1->Enabled()) << "disabled until the meter answers";
    EXPECT_FALSE(form.Timer1->Enabled());

    Receive("HELLO#");
    EXPECT_EQ(form.Caption(), "Umbrascope");
    EXPECT_TRUE(form.Timer1->Enabled());
    EXPECT_EQ(form.Timer1->Interval(), 60000u);
    EXPECT_TRUE(form.Label1->Enabled());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Connection, APortThatDoesNotOpenIsReportedAndLeavesTheWindowIdle)
{
    for (const char* name : {"COM9", ""}) {
        SCOPED_TRACE(name);
        boxes.clear();
        form.ComboBox1->SetText(name);
        form.Button1Click(form.Button1);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Error: Unable to connect!"});
        EXPECT_EQ(boxes.at(0).Type, mtError);
        EXPECT_EQ(boxes.at(0).Buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(form.Caption(), "Umbrascope");
        EXPECT_FALSE(form.CommPortDriver1->Connected());
        EXPECT_FALSE(form.Timer1->Enabled());
        EXPECT_EQ(form.ComboBox1->Color(), clWhite);
        EXPECT_FALSE(form.Label1->Enabled());
    }

    // Pressing "START" again tries again from the start.
    boxes.clear();
    form.ComboBox1->SetText("COM7");
    Greet();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(form.ComboBox1->Color(), kMarkerBlue);
}

TEST_F(Connection, StartWhilePollingBeginsAgainWithClosingThePort)
{
    Greet();
    Receive("19.53#");
    const int opens = device.opens;
    form.Button1Click(form.Button1);
    EXPECT_EQ(device.opens, opens + 1);
    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_EQ(form.Gauge1->Progress(), 1500);
    EXPECT_FALSE(form.Label1->Enabled());
    EXPECT_EQ(form.Caption(), "Umbrascope - connect...");
}

TEST_F(Connection, StartForgetsAReplyCutOffWithTheOldConnection)
{
    Greet();
    Receive("19.5");  // the meter is unplugged in the middle of a reply
    ASSERT_EQ(form.PendingReplyLength(), 4u);
    form.Button1Click(form.Button1);
    EXPECT_EQ(form.PendingReplyLength(), 0u);
    Receive("HELLO#");
    EXPECT_EQ(form.Caption(), "Umbrascope") << "the new greeting is recognised";
    EXPECT_TRUE(form.Timer1->Enabled());
}

TEST_F(Connection, EachPollTickAsksForOneReading)
{
    Greet();
    device.written.clear();
    form.Timer1Timer(form.Timer1);
    form.Timer1Timer(form.Timer1);
    EXPECT_EQ(Written(device), "V#V#");
}

TEST_F(Connection, AMeterThatIsGoneEndsPollingButKeepsTheReadings)
{
    Greet();
    Receive("19.53#");
    Receive("19.61#");
    api.Fail(FakeCommApi::Call::ClearCommError);
    form.Timer1Timer(form.Timer1);

    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Error: COM Port has been disconnected!!"});
    EXPECT_FALSE(form.CommPortDriver1->Connected());
    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_FALSE(form.Label1->Enabled());
    EXPECT_EQ(form.Caption(), "Umbrascope");
    EXPECT_EQ(form.Label1->Caption(), "19.61");
    EXPECT_EQ(ChartReadings(), (std::vector<double>{19.53, 19.61}));
}

TEST_F(Connection, AFailingGreetingReachesTheErrorBoxAndLeavesThePortOpen)
{
    api.Fail(FakeCommApi::Call::ClearCommError);
    // As the window system reports a press of the button, so the guard
    // around the handler is tested.
    TControlEvents::DeliverClick(*form.Button1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, ApplicationTitle());
    EXPECT_EQ(boxes[0].Type, mtError);
    EXPECT_TRUE(form.CommPortDriver1->Connected());
    EXPECT_EQ(form.Caption(), "Umbrascope - connect...");
}

TEST_F(Connection, AnUnreadablePortEntryIsReportedAndThePortsBeforeItStay)
{
    form.SetPortLister([]() -> std::vector<std::string> {
        throw platform::SerialPortListError("Invalid data type for '\\Device\\Serial2'", {"COM1", "COM3"});
    });
    form.ComboBox1->SetDroppedDown(true);
    ASSERT_EQ(form.ComboBox1->ItemCount(), 2) << "the list opens with the ports so far";
    EXPECT_EQ(form.ComboBox1->Item(1), "COM3");
    form.ComboBox1->SetDroppedDown(false);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, ApplicationTitle());
    // "'" comes before "." in the code table, so no period is added.
    EXPECT_EQ(boxes[0].Text, "Invalid data type for '\\Device\\Serial2'");
}

TEST_F(Connection, OpeningThePortListEmptiesItAndListsThePortsAnew)
{
    std::vector<std::string> ports{"ttyUSB0", "ttyUSB0", "sim"};
    form.SetPortLister([&] { return ports; });
    form.ComboBox1->SetText("typed");

    form.ComboBox1->SetDroppedDown(true);
    EXPECT_EQ(form.ComboBox1->Text(), "") << "the typed name is gone, and no port is chosen for the user";
    ASSERT_EQ(form.ComboBox1->ItemCount(), 3);
    EXPECT_EQ(form.ComboBox1->Item(0), "ttyUSB0");
    EXPECT_EQ(form.ComboBox1->Item(1), "ttyUSB0") << "duplicates stay";
    form.ComboBox1->SetDroppedDown(false);
    EXPECT_EQ(form.ComboBox1->Text(), "");

    ports = {"ttyACM0"};
    form.ComboBox1->SetDroppedDown(true);
    ASSERT_EQ(form.ComboBox1->ItemCount(), 1);
    EXPECT_EQ(form.ComboBox1->Item(0), "ttyACM0");
    form.ComboBox1->SetDroppedDown(false);

    // An empty name cannot be opened.
    form.Button1Click(form.Button1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Error: Unable to connect!"});
}

}  // namespace
