#include "core/CrashReporter.h"

#include "core/AppInfo.h"
#include "core/CloudClient.h"
#include "core/CrashConfig.h"
#include "platform/CrashCatcher.h"

#include <QStringDecoder>

namespace {

QString orQuestionMark(const QString& value) {
    return value.isEmpty() ? QStringLiteral("?") : value;
}

// The call stack as text; empty when it is not valid UTF-8.
QString utf8OrEmpty(const QByteArray& bytes) {
    auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return decoder.hasError() ? QString() : text;
}

} // namespace

CrashReporter::CrashReporter(CrashCatcher& catcher, Defaults& defaults, CloudClient& client,
                             QObject* parent)
    : QObject(parent), m_catcher(catcher), m_defaults(defaults), m_client(client) {}

void CrashReporter::start() {
    // Taken in any case: a record is deleted once handed over, also when reporting is off.
    didReceive(m_catcher.takeDiagnostics());
}

void CrashReporter::didReceive(const QList<CrashDiagnostic>& diagnostics) {
    if (diagnostics.isEmpty() || !CrashConfig::reportingEnabled(m_defaults))
        return;
    const QUrl endpoint = CrashConfig::endpoint(m_client);
    if (!endpoint.isValid())
        return;
    const QString installID = CrashConfig::installID(m_defaults);
    for (const CrashDiagnostic& diagnostic : diagnostics) {
        const CloudClient::Request request{"POST", endpoint, report(diagnostic, installID), {}};
        m_client.send(request); // fire and forget: a failure loses this report only
    }
}

QJsonObject CrashReporter::report(const CrashDiagnostic& diagnostic, const QString& installID) {
    QJsonObject report{{"type", "crash"},
                       {"app", "glintext"},
                       {"installID", installID},
                       {"appVersion", orQuestionMark(AppInfo::version())},
                       {"build", orQuestionMark(AppInfo::build())},
                       {"osVersion", diagnostic.osVersion},
                       {"arch", diagnostic.architecture},
                       {"callStack", utf8OrEmpty(diagnostic.callStack)}};
    if (diagnostic.signal)
        report.insert("signal", *diagnostic.signal);
    if (diagnostic.exceptionType)
        report.insert("exceptionType", *diagnostic.exceptionType);
    if (diagnostic.exceptionCode)
        report.insert("exceptionCode", *diagnostic.exceptionCode);
    if (diagnostic.terminationReason)
        report.insert("terminationReason", *diagnostic.terminationReason);
    return report;
}
