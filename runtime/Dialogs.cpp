#include "runtime/Dialogs.h"

#include "runtime/DialogsSystem.h"
#include "runtime/Folders.h"
#include "runtime/NotifyWindow.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

namespace {

TDialogRecorder& Recorder()
{
    static TDialogRecorder recorder;
    return recorder;
}

void ShowModalBox(const DialogRecord& record)
{
    if (Recorder()) {
        Recorder()(record);
        return;
    }
    if (!CanShowBoxes()) {
        std::fprintf(stderr, "%s: %s\n", record.Caption.c_str(), record.Text.c_str());
        return;
    }
    ShowSystemBox(record);
}

DialogRecord ErrorBox(const std::exception& error)
{
    return {ApplicationTitle(), ErrorBoxText(error.what()), mtError, {"OK"}};
}

}  // namespace

void SetDialogRecorder(TDialogRecorder recorder)
{
    Recorder() = std::move(recorder);
}

std::string TitleFromFileName(const std::string& fileName)
{
    std::string title = fileName.substr(0, fileName.find('.'));
    // The first letter stays as the file has it: "Umbrascope.exe" gives
    // "Umbrascope", "umbrascope" gives "umbrascope".
    for (std::size_t i = 1; i < title.size(); ++i)
        title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
    return title;
}

std::string ApplicationTitle()
{
    return TitleFromFileName(ProgramFileName());
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

void ShowException(const std::exception& error)
{
    ShowModalBox(ErrorBox(error));
}

namespace {

// The error boxes posted and not yet shown, and the texts of those posted
// and not yet closed. A posted box is shown from the message loop by a
// message to a hidden window of its own, which carries the box's number.
class TPostedBoxes {
public:
    static TPostedBoxes& Instance()
    {
        static TPostedBoxes boxes;
        return boxes;
    }

    void Post(DialogRecord record)
    {
        if (!FOpenTexts.insert(record.Text).second)
            return;
        const WPARAM number = ++FLastNumber;
        FWaiting.emplace(number, std::move(record));
        if (!FWindow.Post(kShowBox, number)) {
            // No message loop to come back from: show it now.
            Show(number);
        }
    }

private:
    // The first number the system leaves to a window class of its own.
    static constexpr UINT kShowBox = 0x0400;

    TPostedBoxes() : FWindow([this](TMessage& message) { WindowProc(message); }) {}

    void WindowProc(TMessage& message)
    {
        if (message.Msg == kShowBox)
            Show(message.WParam);
        else
            FWindow.DefaultHandler(message);
    }

    void Show(WPARAM number)
    {
        auto waiting = FWaiting.extract(number);
        if (waiting.empty())
            return;
        const DialogRecord& record = waiting.mapped();
        // Runs from the message loop, which must not see an exception; the
        // text is free again however the box ends.
        try {
            ShowModalBox(record);
        } catch (...) {
            std::fprintf(stderr, "%s: %s\n", record.Caption.c_str(), record.Text.c_str());
        }
        FOpenTexts.erase(record.Text);
    }

    std::set<std::string> FOpenTexts;
    std::map<WPARAM, DialogRecord> FWaiting;
    WPARAM FLastNumber = 0;
    TNotifyWindow FWindow;
};

}  // namespace

void PostException(const std::exception& error)
{
    TPostedBoxes::Instance().Post(ErrorBox(error));
}

void InstallApplicationErrorBox()
{
    SetExceptionHandler(PostException);
}

void MessageDlgError(const std::string& text)
{
    ShowModalBox({"Error", text, mtError, {"OK"}});
}

namespace {

TFileChooser& FileChooser()
{
    static TFileChooser chooser;
    return chooser;
}

}  // namespace

void SetFileChooser(TFileChooser chooser)
{
    FileChooser() = std::move(chooser);
}

TSaveDialog::TSaveDialog(TComponent* AOwner) : TComponent(AOwner) {}

std::vector<std::pair<std::string, std::string>> TSaveDialog::FilterPairs() const
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = FFilter.find('|', start);
        parts.push_back(FFilter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}

std::vector<std::string> TSaveDialog::NameFilters() const
{
    std::vector<std::string> filters;
    for (auto [description, pattern] : FilterPairs()) {
        for (char& c : pattern) {
            if (c == ';')
                c = ' ';
        }
        filters.push_back(description + " (" + pattern + ")");
    }
    return filters;
}

std::string TSaveDialog::StartFolder() const
{
    return FInitialDir.empty() ? UserDocumentsFolder() : FInitialDir;
}

std::string TSaveDialog::DefaultSuffix() const
{
    return FDefaultExt.starts_with('.') ? FDefaultExt.substr(1) : FDefaultExt;
}

bool TSaveDialog::Execute()
{
    if (FileChooser())
        return FileChooser()(*this);
    return ExecuteSystemSaveDialog(*this);
}
