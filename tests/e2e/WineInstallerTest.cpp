// The Windows installers: the 64-bit one installed and removed again in the
// Wine prefix as a user would with msiexec, the 32-bit one (which this
// 64-bit-only Wine cannot run) read back with msitools.
//
// tools/windows/run-wine-tests.sh runs it with WINEPREFIX, DISPLAY,
// UMBRASCOPE_WINE (the wine loader), UMBRASCOPE_EXE (the built program,
// whose file name the installer must keep) and UMBRASCOPE_MSI and
// UMBRASCOPE_MSI_X86 (the two installers) in the environment.
#include "DesktopTools.h"
#include "EventLoop.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

struct Finished {
    int status = -1;
    QString output;
};

Finished RunFor(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
           int milliseconds = 120000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Finished run;
    if (process.waitForFinished(milliseconds) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.output = QString::fromLocal8Bit(process.readAll()).remove('\r');
    return run;
}

// One column of a table of the installer, by the row's first column.
QString TableValue(const QString& msi, const QString& table, const QString& key, int column = 1)
{
    const Finished exported = RunFor("msiinfo", {"export", msi, table}, QProcessEnvironment::systemEnvironment());
    for (const QString& line : exported.output.split('\n')) {
        const QStringList fields = line.split('\t');
        if (fields.size() > column && fields[0] == key)
            return fields[column];
    }
    return {};
}

QString ToWindowsPath(const QString& path) { return "Z:" + QString(path).replace('/', '\\'); }

// A product code as the installer's registry keys spell it: each of the
// first three groups reversed, then each pair of digits swapped.
QString PackedGuid(const QString& guid)
{
    const QString digits = QString(guid).remove('{').remove('}').remove('-');
    QString packed;
    const std::pair<int, int> groups[] = {{0, 8}, {8, 4}, {12, 4}};
    for (const auto& [start, length] : groups) {
        QString group = digits.mid(start, length);
        std::reverse(group.begin(), group.end());
        packed += group;
    }
    for (int i = 16; i + 1 < digits.size(); i += 2)
        packed += QString(digits[i + 1]) + digits[i];
    return packed;
}

class WineInstaller : public ::testing::Test {
protected:
    void SetUp() override
    {
        environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"WINEPREFIX", "DISPLAY", "UMBRASCOPE_WINE", "UMBRASCOPE_EXE", "UMBRASCOPE_MSI", "UMBRASCOPE_MSI_X86"}) {
            if (environment.value(name).isEmpty())
                GTEST_SKIP() << name << " is not set: run it through tools/windows/run-wine-tests.sh from ./dev.sh test";
        }
        for (const char* tool : {"msiinfo", "xdotool"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
        // No menu entries for the Linux desktop from the shortcut.
        environment.insert("WINEDLLOVERRIDES", environment.value("WINEDLLOVERRIDES") + ";winemenubuilder.exe=d");
        wine = environment.value("UMBRASCOPE_WINE");
        drive = environment.value("WINEPREFIX") + "/drive_c";
        programName = QFileInfo(environment.value("UMBRASCOPE_EXE")).fileName();
    }

    Finished Wine(const QStringList& arguments) { return RunFor(wine, arguments, environment); }

    // The values under a registry key, by name; empty when there is no key.
    QMap<QString, QString> RegistryValues(const QString& key)
    {
        QMap<QString, QString> values;
        const Finished query = Wine({"reg", "query", key});
        static const QRegularExpression row(R"(^\s+(\S+)\s+REG_\w+\s+(.*)$)");
        for (const QString& line : query.output.split('\n')) {
            const auto match = row.match(line);
            if (match.hasMatch())
                values.insert(match.captured(1), match.captured(2).trimmed());
        }
        return values;
    }

    QString PrefixPath(QString windowsPath) { return drive + windowsPath.mid(2).replace('\\', '/'); }
    // The prefix's user, whose profile is under C:\users.
    QString WindowsUser() { return Wine({"cmd", "/c", "echo", "%USERNAME%"}).output.trimmed(); }

    QProcessEnvironment environment;
    QString wine;
    QString drive;
    QString programName;
};

TEST_F(WineInstaller, InstallsForTheMachineStartsAndUninstallsLeavingTheLogs)
{
    const QString msi = environment.value("UMBRASCOPE_MSI");
    const QString productCode = TableValue(msi, "Property", "ProductCode");
    ASSERT_FALSE(productCode.isEmpty()) << "no product code in " << msi.toStdString();

    const Finished install = Wine({"msiexec", "/i", ToWindowsPath(msi), "/qn"});
    ASSERT_EQ(install.status, 0) << install.output.toStdString();

    const QString folder = drive + "/Program Files/Umbrascope";
    const QString program = folder + "/" + programName;
    const QStringList installed{program, folder + "/README.txt", folder + "/metersim-README.md"};
    for (const QString& file : installed)
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    EXPECT_LT(QFileInfo(program).size(), QFileInfo(environment.value("UMBRASCOPE_EXE")).size())
        << "the program without its debugging information";
    // The machine's Start menu; Wine's installer puts a per-machine
    // product's shortcut into the user's own.
    QString shortcut;
    for (const QString& menu : {drive + "/ProgramData/Microsoft/Windows/Start Menu/Programs",
                                drive + "/users/" + WindowsUser() + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"}) {
        if (QFileInfo::exists(menu + "/Umbrascope.lnk"))
            shortcut = menu + "/Umbrascope.lnk";
    }
    EXPECT_FALSE(shortcut.isEmpty()) << "no Umbrascope shortcut in the Start menu";

    const QString uninstallKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productCode;
    const auto entry = RegistryValues(uninstallKey);
    EXPECT_EQ(entry.value("DisplayName").toStdString(), "Umbrascope");
    EXPECT_EQ(entry.value("DisplayVersion").toStdString(), TableValue(msi, "Property", "ProductVersion").toStdString());
    EXPECT_EQ(entry.value("Publisher").toStdString(), "Umbrascope");
    // The list's icon: DisplayIcon, or, where the installer does not write
    // it (Wine's does not), the product's icon it registers for the list.
    QString icon = entry.value("DisplayIcon");
    if (icon.isEmpty())
        icon = RegistryValues("HKLM\\Software\\Classes\\Installer\\Products\\" + PackedGuid(productCode)).value("ProductIcon");
    EXPECT_TRUE(icon.endsWith(".ico") && QFileInfo::exists(PrefixPath(icon))) << "icon " << icon.toStdString();

    {
        Child monitor(wine, {program}, environment);
        QString window;
        ASSERT_TRUE(WaitUntil([&] { return !(window = FindWindow("Umbrascope", "586x659", environment)).isEmpty(); },
                              60000))
            << "the installed program shows no main window: " << monitor.process.readAllStandardError().toStdString();
        // Asked to close, as the window's close box would.
        Wine({"taskkill", "/im", programName});
        EXPECT_TRUE(WaitUntil([&] { return monitor.process.state() == QProcess::NotRunning; }, 15000))
            << "the program did not end when its window was closed";
    }

    // The reading logs, in Documents and beside the program, are the user's.
    // A new prefix's Documents may be the home's own folder (the runner
    // gives Wine a home of its own): a log already there is left alone.
    const QFileInfo documents(drive + "/users/" + WindowsUser() + "/Documents");
    ASSERT_TRUE(documents.isDir()) << documents.filePath().toStdString();
    const QStringList logs{documents.filePath() + "/umblog.txt", folder + "/umblog.txt"};
    const QByteArray line = "21.47   09.12.2026   23:00:00\r\n";
    for (const QString& log : logs) {
        ASSERT_FALSE(QFileInfo::exists(log)) << log.toStdString() << " is someone's log";
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(line) == line.size()) << log.toStdString();
    }

    const Finished uninstall = Wine({"msiexec", "/x", ToWindowsPath(msi), "/qn"});
    ASSERT_EQ(uninstall.status, 0) << uninstall.output.toStdString();
    for (const QString& file : installed + QStringList{shortcut})
        EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString() << " stays after uninstalling";
    EXPECT_TRUE(RegistryValues(uninstallKey).isEmpty()) << "the installed-programs entry stays";
    for (const QString& log : logs) {
        QFile file(log);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll() == line) << log.toStdString() << " was touched";
        file.remove();
    }
}

// The 32-bit installer, which cannot run here, read back: a package for
// 32-bit Windows installing to the 32-bit Program Files, and upgrading only
// its own kind.
TEST_F(WineInstaller, The32BitInstallerIsOneForThe32BitProgramFiles)
{
    const QString x64 = environment.value("UMBRASCOPE_MSI"), x86 = environment.value("UMBRASCOPE_MSI_X86");
    const Finished summary = RunFor("msiinfo", {"suminfo", x86}, environment);
    ASSERT_EQ(summary.status, 0) << summary.output.toStdString();
    EXPECT_TRUE(summary.output.contains(QRegularExpression("^Template: Intel;1033$", QRegularExpression::MultilineOption)))
        << summary.output.toStdString();
    EXPECT_EQ(TableValue(x86, "Directory", "INSTALLDIR").toStdString(), "ProgramFilesFolder");
    EXPECT_TRUE(TableValue(x86, "File", "Program", 2).endsWith(programName)) << "the program keeps its name";
    EXPECT_EQ(TableValue(x86, "Property", "ALLUSERS").toStdString(), "1");
    // No component of it is a 64-bit one (attribute 256).
    const Finished components = RunFor("msiinfo", {"export", x86, "Component"}, environment);
    int rows = 0;
    for (const QString& row : components.output.split('\n').mid(3)) {
        const QStringList fields = row.split('\t');
        if (fields.size() > 3) {
            ++rows;
            EXPECT_EQ(fields[3].toInt() & 256, 0) << row.toStdString();
        }
    }
    EXPECT_GT(rows, 0) << components.output.toStdString();

    const QString upgradeCode = TableValue(x86, "Property", "UpgradeCode");
    EXPECT_FALSE(upgradeCode.isEmpty());
    EXPECT_NE(upgradeCode, TableValue(x64, "Property", "UpgradeCode")) << "each architecture upgrades only its own";
    // The row that finds older versions to remove names the property it sets.
    EXPECT_FALSE(TableValue(x86, "Upgrade", upgradeCode, 6).isEmpty()) << "no major upgrade of older versions";
}

}  // namespace
