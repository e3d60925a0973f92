// spindrel-pack: composes a saver's settings file and media archive, and shows or
// rewrites settings files. Every failure is one line on stderr and exit code 1.
#include <cstdio>
#include <iostream>
#include <string>

#include "datafiles/UnitSpindrelFile.h"
#include "tools/pack/PackBuild.h"
#include "tools/pack/SettingsJson.h"

using namespace spindrel;

namespace {

const char Usage[] =
    "usage: spindrel-pack build MANIFEST.json OUTDIR   write <name>.ssp and <name>.mda\n"
    "       spindrel-pack dump FILE.ssp                print a settings file as JSON\n"
    "       spindrel-pack resave FILE.ssp              rewrite a settings file at the current version\n";

int Fail(const std::string& Message)
{
    std::cerr << "spindrel-pack: " << Message << "\n";
    return 1;
}

// Opens a settings file and insists that it is one.
bool OpenSettings(TSpindrelFile& Settings, const std::string& Name, bool ReadWrite, std::string& Error)
{
    if (!Settings.Open(Name, ReadWrite)) {
        Error = Settings.LastError();
        return false;
    }
    if (Settings.Magic != SettingsMagic) {
        Error = "\"" + Name + "\": not a settings file (wrong magic number)";
        return false;
    }
    return true;
}

int Dump(const std::string& Name)
{
    TSpindrelFile settings;
    std::string error;
    if (!OpenSettings(settings, Name, false, error))
        return Fail(error);
    std::cout << SettingsToJson(settings).dump(2) << "\n";
    return std::cout.flush() ? 0 : Fail("cannot write the output");
}

int Resave(const std::string& Name)
{
    TSpindrelFile settings;
    std::string error;
    if (!OpenSettings(settings, Name, true, error))
        return Fail(error);
    if (!settings.Save())
        return Fail("\"" + Name + "\": " + settings.LastError());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "build" && argc == 4) {
            BuildPackage(argv[2], argv[3]);
            return 0;
        }
        if (command == "dump" && argc == 3)
            return Dump(argv[2]);
        if (command == "resave" && argc == 3)
            return Resave(argv[2]);
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    std::cerr << Usage;
    return 1;
}
