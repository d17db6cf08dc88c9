#include "core/AppInfo.h"

#include "BuildConfig.h"

#include <QSysInfo>

namespace AppInfo {

QString version() {
    return QString::fromLatin1(BuildConfig::version);
}

QString build() {
    return QString::fromLatin1(BuildConfig::buildNumber);
}

QString osVersion() {
    return QSysInfo::prettyProductName();
}

QString architecture() {
    return QSysInfo::currentCpuArchitecture();
}

} // namespace AppInfo
