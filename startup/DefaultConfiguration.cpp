#include "DefaultConfiguration.h"

#include <QSettings>

namespace {

struct Key {
    const char *name;
    const char *value;
};

// The defaults the program applies to a missing key. The folder-relative
// ones are written relative, so the folder can move.
const Key kDefaults[] = {
    {"Settings/Language", "EN"},
    {"Settings/SupervisInfoFile", "1"},
    {"Settings/Path_local", "."},
#ifdef Q_OS_WIN
    {"Settings/COM", "COM21"},
#else
    // No port name is worth guessing here, and none makes the program search
    // every port: a first start from the menu finds the instrument instead
    // of saying that COM21 does not exist.
    {"Settings/COM", ""},
#endif
    {"Settings/AnalyseAtStart", "1"},
    {"Settings/MonitorInterval", "10"},
    {"Settings/ControlAvailable", "1"},
    {"Settings/DEBUG_LEVEL", "0"},
    {"Settings/WriteParamInFile_Period", "1"},
    {"Settings/Qualification", "0"},
    {"Settings/AVE", "0"},
    {"Passwords/File_passwords", "passwords.ini"},
    {"Passwords/NumOfAttemps", "5"},
    {"Passwords/NumOfSeconds", "1800"},
    {"Signal_names/Channel_1", "Channel 1"},
    {"Signal_names/Channel_2", "Channel 2"},
    {"Signal_names/Channel_3", "Channel 3"},
    {"Signal_names/Channel_4", "Channel 4"},
    {"Windows_Position/Main_Window_x", "0"},
    {"Windows_Position/Main_Window_y", "0"},
    {"Windows_Position/Control_Window_x", "0"},
    {"Windows_Position/Control_Window_y", "0"},
};

}  // namespace

bool DefaultConfiguration::write(const QString &file)
{
    QSettings ini(file, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    for (const Key &key : kDefaults)
        ini.setValue(QString::fromLatin1(key.name), QString::fromLatin1(key.value));
    ini.sync();
    return ini.status() == QSettings::NoError;
}
