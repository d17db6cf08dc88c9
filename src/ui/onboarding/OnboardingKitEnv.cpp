#include "ui/onboarding/OnboardingKitEnv.h"

#include <QByteArray>
#include <QRegularExpression>

#include <climits>

namespace OnboardingKitEnv {

namespace {

QStringList withLegacy(const char* name, const QStringList& legacy) {
    return QStringList{QString::fromLatin1(name)} + legacy;
}

} // namespace

bool forced(const QStringList& legacy) {
    for (const QString& name : withLegacy(forcedVariable, legacy)) {
        const QByteArray key = name.toLocal8Bit();
        if (qEnvironmentVariableIsSet(key.constData()) && qgetenv(key.constData()) == "1")
            return true;
    }
    return false;
}

std::optional<int> pinnedPage(const QStringList& legacy) {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    for (const QString& name : withLegacy(pageVariable, legacy)) {
        const QString value = qEnvironmentVariable(name.toLocal8Bit().constData());
        if (value.isEmpty() || !decimal.match(value).hasMatch())
            continue;
        bool ok = false;
        const qlonglong page = value.toLongLong(&ok);
        if (!ok) // more digits than any number: as far out as the sign says
            return value.startsWith(QLatin1Char('-')) ? INT_MIN : INT_MAX;
        return int(std::clamp<qlonglong>(page, INT_MIN, INT_MAX));
    }
    return std::nullopt;
}

} // namespace OnboardingKitEnv
