// The saver program's entry point: COM, the player probes, the run mode from the
// command line, the settings file beside the program, the derived names, the one
// window of the mode, and the message loop.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/Application.h"
#include "platform/win32/Handles.h"
#include "saver/RunMode.h"
#include "saver/win32/Globals.h"
#include "saver/win32/PlayerProbe.h"
#include "saver/win32/UnitMain.h"
#include "shared/UnitGlobe.h"

namespace spindrel::saver {

namespace {

std::string ProgramPath()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::vector<std::string> Arguments()
{
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i)
        arguments.emplace_back(__argv[i]);
    return arguments;
}

bool OpenSettings(const std::string& Program)
{
    Settings = std::make_unique<TMulitFile>();
    // A file that is not a settings file is treated as none: nothing to show.
    return Settings->Open(SettingsFileNameOf(Program), RunMode == TRunMode::Configure) &&
           Settings->Magic == SettingsMagic;
}

void RunWindow(win32::TApplication& Application)
{
    switch (RunMode) {
    case TRunMode::Show: {
        TFormMain form(Application);
        form.Show();
        Application.Run();
        break;
    }
    // The options dialog and the preview come with their own windows; until then
    // these modes end cleanly, as Ignore does.
    case TRunMode::Configure:
    case TRunMode::View:
    case TRunMode::Preview:
    case TRunMode::Ignore: break;
    }
}

}  // namespace

int Main()
{
    win32::TApplication application;
    win32::TScopedCom com;
    ProbePlayers();
    const TStartChoice choice = ChooseRunMode(Arguments());
    if (choice.Uninstall)
        return 0;  // uninstall mode needs no settings file; it has its own issue
    RunMode = choice.Mode;
    const std::string program = ProgramPath();
    if (OpenSettings(program)) {
        TempDir = GetTempDir();
        ArchiveName = ArchiveNameOf(Settings->FileName());
        ExeDir = ExeDirOf(program);
        RunWindow(application);
    }
    if (Settings)
        Settings->Close();
    Settings.reset();
    return 0;
}

}  // namespace spindrel::saver

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return spindrel::saver::Main(); }
