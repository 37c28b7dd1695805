// The main window: the port and interval choice, the conversation with the
// meter, the reading shown four ways, and the reading log.
#pragma once

#include "app/MeterProtocol.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "gauge/Gauges.h"
#include "platform/CommApi.h"
#include "runtime/Dialogs.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"
#include "serial/CPDrv.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

inline constexpr int kClientWidth = 586;
inline constexpr int kClientHeight = 659;
inline constexpr TColor kReadingBlue = 16744448;  // 0xFF8000
inline constexpr TColor kMarkerBlue = 16765864;   // 0xFFD3A8
inline constexpr char kLogFileName[] = "umblog.txt";
inline constexpr char kDevicePrefix[] = "\\\\.\\";

class TForm1 : public TForm {
public:
    // The port names the list offers when it opens.
    using TPortLister = std::function<std::vector<std::string>()>;

    // Builds the window with every control as the design has it. `api` is
    // the serial layer the driver talks to; tests pass a double.
    explicit TForm1(platform::CommApi& api = platform::SystemCommApi());

    TGroupBox* GroupBox1;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TGroupBox* GroupBox2;
    TLabel* Label5;
    TTimer* Timer1;
    TGroupBox* GroupBox3;
    TGauge* Gauge1;
    TGroupBox* GroupBox4;
    TComboBox* ComboBox1;
    TLabel* Label6;
    TButton* Button1;
    TCommPortDriver* CommPortDriver1;
    TLabel* Label7;
    TLabel* Label8;
    TComboBox* ComboBox2;
    TGroupBox* GroupBox5;
    TLabel* Label9;
    TCheckBox* CheckBox1;
    TCheckBox* CheckBox2;
    TCheckBox* CheckBox3;
    TLabeledEdit* LabeledEdit1;
    TButton* Button2;
    TSaveDialog* SaveDialog1;
    TCheckBox* CheckBox4;
    TChart* Chart1;
    TLineSeries* Series1;
    TLabel* Label4;
    TComboBox* ComboBox3;

    // Sends "V#". A port that can no longer be used ends polling with
    // "COM Port has been disconnected!!".
    void Timer1Timer(TObject* Sender);
    // Adds the names of the system's serial ports to the port list. A list
    // that meets an entry it cannot read ("Invalid data type for '%s'") adds
    // the names before it and raises that message.
    void GetCOMPorts();
    // Empties the port list and its text, then fills the list anew.
    void ComboBox1DropDown(TObject* Sender);
    // "START": closes the port, opens the chosen one and greets the meter,
    // or says "Unable to connect!".
    void Button1Click(TObject* Sender);
    // Collects received bytes into replies and acts on each complete one.
    void CommPortDriver1ReceiveData(TObject* Sender, const void* DataPtr, platform::DWORD DataSize);
    // Lets the user choose the log file.
    void Button2Click(TObject* Sender);
    // "SAVE" switched on or off.
    void CheckBox4Click(TObject* Sender);
    // Puts the default log path in place.
    void FormActivate(TObject* Sender);
    // 1: the connected look; 0: the idle look; anything else: nothing.
    void EnableCtrls(int Value);
    void AppendToFile(const std::string& FileName, const std::string& Line);
    void CreateTextFile(const std::string& FileName);

    std::int32_t ReadingCount() const { return FReadingCount; }
    bool SaveEnabled() const { return FSaveEnabled; }
    // Characters of the reply still being received.
    std::size_t PendingReplyLength() const { return FReceiveBuffer.Length(); }

    void SetPortLister(TPortLister lister) { FPortLister = std::move(lister); }

private:
    void CreateConnectionControls();
    void CreateReadingControls();
    void CreateChartControls();
    void CreateSaveControls();
    void SetTabOrder();

    void CompleteHandshake();
    void ShowReading(const TReply& reading);
    void LogReading();

    TReplyCollector FReceiveBuffer;
    std::int32_t FReadingCount = 0;
    bool FSaveEnabled = false;
    TPortLister FPortLister;
};

// The log file a user gets without choosing one: "umblog.txt" in the
// program's folder, or in the user's documents folder when the program's
// folder cannot be written (an installed program under /usr).
std::string DefaultLogPath(const std::string& programFolder);
