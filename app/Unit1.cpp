#include "app/Unit1.h"

#include "platform/SerialPorts.h"
#include "runtime/DateTimeText.h"
#include "runtime/Folders.h"
#include "runtime/NumberText.h"
#include "runtime/TextFiles.h"

#include <initializer_list>

namespace {

const char kFace[] = "Verdana";
const char kCaption[] = "Umbrascope";
const char kConnectingCaption[] = "Umbrascope - connect...";
const char kNoReading[] = "00.00";

template <class T>
T* Place(T* control, const char* name, int left, int top, int width, int height)
{
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    return control;
}

TGroupBox* MakeGroupBox(TWinControl* form, const char* name, const char* caption, int left, int top, int width,
                        int height)
{
    auto* box = Place(new TGroupBox(form), name, left, top, width, height);
    box->SetCaption(caption);
    box->SetFont(MakeFont(kFace, 13));
    return box;
}

// A label sizes itself to its text and font; the design's size is set last
// so that it holds.
TLabel* MakeLabel(TWinControl* parent, const char* name, const std::string& caption, int left, int top, int width,
                  int height, const TPainterFont* font = nullptr)
{
    auto* label = new TLabel(parent);
    if (font != nullptr)
        label->SetFont(*font);
    label->SetCaption(caption);
    return Place(label, name, left, top, width, height);
}

TCheckBox* MakeCheckBox(TWinControl* parent, const char* name, const char* caption, int left, int top, int width,
                        bool checked)
{
    auto* box = Place(new TCheckBox(parent), name, left, top, width, 17);
    box->SetCaption(caption);
    box->SetChecked(checked);
    return box;
}

}  // namespace

std::string DefaultLogPath(const std::string& programFolder)
{
    const std::string folder = FolderKeepsFiles(programFolder) ? programFolder : UserDocumentsFolder();
    return folder + kLogFileName;
}

TForm1::TForm1(platform::CommApi& api) : TForm(kClientWidth, kClientHeight)
{
    SetName("Form1");
    SetCaption(kCaption);
    SetColor(clWhite);
    SetFont(MakeFont(kFace, 11));

    // Label7 lies on the window itself, under the connection group box,
    // which is created after it and so covers it.
    Label7 = MakeLabel(this, "Label7", "COM Port", 254, 32, 54, 13);

    CreateReadingControls();
    CreateChartControls();
    CreateConnectionControls();
    CreateSaveControls();

    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(1000);
    Timer1->SetOnTimer([this](TObject* sender) { Timer1Timer(sender); });

    CommPortDriver1 = new TCommPortDriver(this, api);
    CommPortDriver1->SetPort(pnCustom);
    CommPortDriver1->SetPortName("\\\\.\\COM2");
    CommPortDriver1->SetInBufSize(5000);
    CommPortDriver1->SetOnReceiveData([this](TObject* sender, const void* data, platform::DWORD size) {
        CommPortDriver1ReceiveData(sender, data, size);
    });

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetDefaultExt(".txt");
    SaveDialog1->SetFilter("Text Files|*.txt");
    SaveDialog1->SetTitle("Save As");
    SaveDialog1->SetOptions(ofHideReadOnly | ofEnableSizing);

    SetTabOrder();
    FPortLister = [] { return platform::SystemSerialPorts(); };
    SetOnActivate([this](TObject* sender) {
        FormActivate(sender);
        ComboBox1->SetFocus();
    });
}

void TForm1::CreateConnectionControls()
{
    GroupBox4 = MakeGroupBox(this, "GroupBox4", " Connection ", 8, 8, 569, 57);
    Label6 = MakeLabel(GroupBox4, "Label6", "COM Port", 14, 24, 62, 16);

    ComboBox1 = Place(new TComboBox(GroupBox4, csDropDown), "ComboBox1", 86, 20, 81, 24);
    ComboBox1->SetColor(kMarkerBlue);
    ComboBox1->SetItemHeight(16);
    ComboBox1->SetOnDropDown([this](TObject* sender) { ComboBox1DropDown(sender); });

    Label8 = MakeLabel(GroupBox4, "Label8", "Baud Rate", 182, 24, 67, 16);

    ComboBox2 = Place(new TComboBox(GroupBox4, csDropDownList), "ComboBox2", 258, 20, 80, 24);
    ComboBox2->AddItem("9600");
    ComboBox2->SetItemIndex(0);
    ComboBox2->SetEnabled(false);

    Label4 = MakeLabel(GroupBox4, "Label4", "Interval\n(s)", 352, 14, 51, 32);
    Label4->SetAlignment(taCenter);

    ComboBox3 = Place(new TComboBox(GroupBox4, csDropDownList), "ComboBox3", 412, 20, 80, 24);
    for (const char* seconds : {"1", "2", "5", "10", "15", "30", "60", "120", "180", "240", "300", "600"})
        ComboBox3->AddItem(seconds);
    ComboBox3->SetItemIndex(6);

    Button1 = Place(new TButton(GroupBox4), "Button1", 504, 18, 56, 25);
    Button1->SetCaption("START");
    Button1->SetOnClick([this](TObject* sender) { Button1Click(sender); });
}

void TForm1::CreateReadingControls()
{
    GroupBox1 = MakeGroupBox(this, "GroupBox1", " Sky background ", 8, 72, 281, 57);
    const TPainterFont large = MakeFont(kFace, 21, true);
    const TPainterFont reading = MakeFont(kFace, 27, true);
    const TPainterFont exponent = MakeFont(kFace, 16, true);
    Label1 = MakeLabel(GroupBox1, "Label1", kNoReading, 10, 16, 86, 32, &reading);
    Label1->SetFontColor(kReadingBlue);
    Label2 = MakeLabel(GroupBox1, "Label2", "mag/arcsec", 106, 21, 139, 25, &large);
    Label3 = MakeLabel(GroupBox1, "Label3", "2", 247, 17, 11, 18, &exponent);

    GroupBox2 = MakeGroupBox(this, "GroupBox2", " Date/Time ", 296, 72, 281, 57);
    Label5 = MakeLabel(GroupBox2, "Label5", "N/A", 10, 21, 263, 25, &large);
    Label5->SetAutoSize(false);

    for (TControl* control : std::initializer_list<TControl*>{Label1, Label2, Label3, Label5})
        control->SetEnabled(false);
}

void TForm1::CreateChartControls()
{
    GroupBox3 = MakeGroupBox(this, "GroupBox3", " Chart ", 8, 136, 569, 401);

    Gauge1 = Place(new TGauge(GroupBox3), "Gauge1", 15, 32, 17, 354);
    Gauge1->BeginLoading();
    Gauge1->SetForeColor(kReadingBlue);
    Gauge1->SetKind(gkVerticalBar);
    Gauge1->SetMinValue(1500);
    Gauge1->SetMaxValue(2500);
    Gauge1->SetProgress(1500);
    Gauge1->SetShowText(false);
    Gauge1->EndLoading();
    Gauge1->SetEnabled(false);

    Chart1 = Place(new TChart(GroupBox3), "Chart1", 32, 17, 536, 383);
    Chart1->BeginLoading();
    Chart1->SetColor(clWhite);
    Chart1->BackWall().Brush().SetColor(clWhite);
    Chart1->BackWall().Brush().SetStyle(bsClear);
    Chart1->Title().SetText({"TChart"});
    Chart1->Title().SetVisible(false);
    Chart1->Legend().SetVisible(false);
    Chart1->SetView3D(false);
    Chart1->BottomAxis()->SetVisible(false);
    TChartAxis* left = Chart1->LeftAxis();
    left->SetAutomatic(false);
    left->SetAutomaticMinimum(false);
    left->SetAutomaticMaximum(false);
    left->SetMinimum(15.0);
    left->SetMaximum(25.0);
    left->Axis().SetWidth(1);
    left->SetMinorTickCount(1);

    Series1 = new TLineSeries(Chart1);
    Series1->SetSeriesColor(kReadingBlue);
    Series1->SetShowInLegend(false);
    Series1->Marks().SetVisible(false);
    Series1->Marks().SetArrowLength(8);
    Series1->Pointer().SetVisible(false);
    Series1->Pointer().SetStyle(psRectangle);
    Series1->Pointer().SetInflateMargins(true);
    Series1->XValues()->SetName("X");
    Series1->XValues()->SetOrder(loAscending);
    Series1->XValues()->SetMultiplier(1.0);
    Series1->YValues()->SetName("Y");
    Series1->YValues()->SetOrder(loNone);
    Series1->YValues()->SetMultiplier(1.0);
    Series1->SetParentChart(Chart1);
    Chart1->EndLoading();
    Chart1->SetEnabled(false);
}

void TForm1::CreateSaveControls()
{
    GroupBox5 = MakeGroupBox(this, "GroupBox5", " Save ", 8, 544, 569, 105);
    Label9 = MakeLabel(GroupBox5, "Label9", "To File:", 14, 27, 50, 16);
    Label9->SetEnabled(false);

    CheckBox1 = MakeCheckBox(GroupBox5, "CheckBox1", "UMB Value", 91, 27, 97, true);
    CheckBox2 = MakeCheckBox(GroupBox5, "CheckBox2", "Date", 195, 27, 61, true);
    CheckBox3 = MakeCheckBox(GroupBox5, "CheckBox3", "Time", 267, 27, 61, true);
    CheckBox4 = MakeCheckBox(GroupBox5, "CheckBox4", "SAVE", 500, 27, 61, false);
    CheckBox4->SetColor(clWhite);
    CheckBox4->SetOnClick([this](TObject* sender) { CheckBox4Click(sender); });

    LabeledEdit1 = new TLabeledEdit(GroupBox5);
    TLabel* label = LabeledEdit1->EditLabel();
    label->SetCaption("Filename:  ");
    label->SetBounds(label->Left(), label->Top(), 73, 16);
    LabeledEdit1->SetName("LabeledEdit1");
    LabeledEdit1->SetBounds(91, 59, 438, 21);
    LabeledEdit1->SetFont(MakeFont(kFace, 11));
    LabeledEdit1->SetReadOnly(true);

    Button2 = Place(new TButton(GroupBox5), "Button2", 536, 57, 25, 25);
    Button2->SetCaption("...");
    Button2->SetOnClick([this](TObject* sender) { Button2Click(sender); });

    for (TControl* control : std::initializer_list<TControl*>{CheckBox1, CheckBox2, CheckBox3, CheckBox4,
                                                              LabeledEdit1, Button2})
        control->SetEnabled(false);
}

// Keyboard focus moves through the group boxes in their order, and through
// each box's controls in theirs.
void TForm1::SetTabOrder()
{
    ::SetTabOrder({Chart1, ComboBox1, Button1, ComboBox2, ComboBox3, CheckBox1, CheckBox2, CheckBox3, LabeledEdit1,
                   Button2, CheckBox4});
}

void TForm1::EnableCtrls(int Value)
{
    if (Value != 0 && Value != 1)
        return;
    const bool enable = Value == 1;
    if (enable) {
        ComboBox1->SetColor(kMarkerBlue);
    } else {
        ComboBox1->SetColor(clWhite);
        Gauge1->SetProgress(1500);
    }
    for (TControl* control : std::initializer_list<TControl*>{Label1, Label2, Label3, Label5, Label9, CheckBox2,
                                                              CheckBox3, CheckBox4, Gauge1, Chart1, LabeledEdit1,
                                                              Button2})
        control->SetEnabled(enable);
}

void TForm1::FormActivate(TObject*)
{
    FSaveEnabled = false;
    LabeledEdit1->SetText(DefaultLogPath(ProgramFolder()));
}

void TForm1::Button1Click(TObject*)
{
    SetCaption(kConnectingCaption);
    CommPortDriver1->Disconnect();
    // A reply cut off with the old connection (a meter unplugged in the
    // middle of one) would be glued in front of the new greeting.
    FReceiveBuffer.Clear();
    Timer1->SetEnabled(false);
    EnableCtrls(0);
    CommPortDriver1->SetPortName(kDevicePrefix + ComboBox1->Text());
    CommPortDriver1->SetBaudRateValue(static_cast<platform::DWORD>(StrToInt(ComboBox2->Text())));
    CommPortDriver1->Connect();
    if (CommPortDriver1->Connected()) {
        CommPortDriver1->SendString(kGreetCommand);
        return;
    }
    MessageDlgError("Unable to connect!");
    SetCaption(kCaption);
}

void TForm1::Timer1Timer(TObject*)
{
    try {
        CommPortDriver1->SendString(kReadCommand);
    } catch (const std::exception&) {
        CommPortDriver1->Disconnect();
        Timer1->SetEnabled(false);
        EnableCtrls(0);
        MessageDlgError("COM Port has been disconnected!!");
    }
}

void TForm1::CommPortDriver1ReceiveData(TObject*, const void* DataPtr, platform::DWORD DataSize)
{
    if (!FReceiveBuffer.Append(static_cast<const char*>(DataPtr), DataSize))
        return;
    const TReply reply = ClassifyReply(FReceiveBuffer.TakeHead());
    if (reply.Kind == TReplyKind::Greeting)
        CompleteHandshake();
    if (reply.Kind == TReplyKind::Error) {
        Label1->SetCaption("ERR");
        Label5->SetCaption(TimeStampText());
    }
    SetDecimalSeparator('.');
    if (reply.Kind == TReplyKind::Reading)
        ShowReading(reply);
}

void TForm1::CompleteHandshake()
{
    EnableCtrls(1);
    SetCaption(kCaption);
    Timer1->SetInterval(static_cast<unsigned>(StrToInt(ComboBox3->Text())) * 1000U);
    Timer1->SetEnabled(true);
    FReadingCount = 0;
    Series1->ClearPoints();
    Label1->SetCaption(kNoReading);
    Gauge1->SetProgress(Gauge1->MinValue());
}

void TForm1::ShowReading(const TReply& reading)
{
    Label1->SetCaption(reading.Text);
    Label5->SetCaption(TimeStampText());
    Gauge1->SetProgress(GaugeProgressFor(reading.Value));
    Series1->AddPoint(FReadingCount, static_cast<double>(reading.Value), std::string(), clDefault);
    ++FReadingCount;
    if (FSaveEnabled)
        LogReading();
}

void TForm1::LogReading()
{
    const std::string path = LabeledEdit1->Text();
    if (!FileIsPlainFile(path)) {
        CreateTextFile(path);
        return;
    }
    std::string line = Label1->Caption();
    if (CheckBox2->Checked())
        line += "   " + DateText();
    if (CheckBox3->Checked())
        line += "   " + TimeText();
    AppendToFile(path, line);
}

void TForm1::AppendToFile(const std::string& FileName, const std::string& Line)
{
    ::AppendToFile(FileName, Line);
}

void TForm1::CreateTextFile(const std::string& FileName)
{
    ::CreateTextFile(FileName);
}

void TForm1::CheckBox4Click(TObject*)
{
    FSaveEnabled = CheckBox4->Checked();
    CheckBox4->SetColor(FSaveEnabled ? kMarkerBlue : clWhite);
}

void TForm1::Button2Click(TObject*)
{
    SaveDialog1->SetFileName("");
    if (!SaveDialog1->Execute())
        return;
    const std::string path = SaveDialog1->FileName();
    // Refused here, where the user can choose again, rather than at every
    // reading; the log step refuses such a path anyway.
    CheckPathUsable(path);
    LabeledEdit1->SetText(path);
}

void TForm1::ComboBox1DropDown(TObject*)
{
    ComboBox1->Clear();
    GetCOMPorts();
}

void TForm1::GetCOMPorts()
{
    std::vector<std::string> names;
    try {
        names = FPortLister();
    } catch (const platform::SerialPortListError& error) {
        // The ports listed before the entry that could not be read are
        // offered all the same; the error then reaches the error box.
        for (const std::string& name : error.Ports())
            ComboBox1->AddItem(name);
        throw Exception(error.what());
    }
    for (const std::string& name : names)
        ComboBox1->AddItem(name);
}
