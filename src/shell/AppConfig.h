#pragma once

#include <QString>

// AppConfig.ini beside the program, section [AppInfo]: the software name for the window title
// and the about box texts, editable without rebuilding the program.
enum AppConfigKey {
    AppConfigCompany = 0,
    AppConfigVersion = 1,
    AppConfigSoftwareName = 2,
    AppConfigAboutTitle = 3,
    AppConfigAboutVersion = 4,
    AppConfigAboutLtd = 5,
    AppConfigHttp = 6,
    AppConfigCopyright = 7,
};

// The longest value returned: the rest of a longer one is cut.
inline constexpr int AppConfigValueLength = 259;

// The value of the key with that index; empty for a missing file, section or key, and for an
// index outside 0 to 7. The file is read anew on every call.
QString ReadAppConfig(int index);

// The same from another file (tests, and any tool that keeps its own copy).
QString ReadAppConfigFrom(const QString &path, int index);
