#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>

class CloudClient;
class CrashCatcher;
class Defaults;
struct CrashDiagnostic;

// Sends the crashes of earlier runs to "/api/crash", one JSON report per crash, when the
// user allows it ("crashReportingEnabled", on unless set false). The crash catcher collects
// them; each is handed over once, and when reporting is off it is dropped. No queue, no
// retry: a report that cannot be sent is lost. GUI thread.
class CrashReporter : public QObject {
    Q_OBJECT
public:
    CrashReporter(CrashCatcher& catcher, Defaults& defaults, CloudClient& client,
                  QObject* parent = nullptr);

    // Delivers what earlier runs left; once, at its step of the start-up.
    void start();
    // Sends a report for each diagnostic, in order; drops them all when reporting is off.
    void didReceive(const QList<CrashDiagnostic>& diagnostics);

    // The report of one diagnostic; the version and build are the running application's.
    static QJsonObject report(const CrashDiagnostic& diagnostic, const QString& installID);

private:
    CrashCatcher& m_catcher;
    Defaults& m_defaults;
    CloudClient& m_client;
};
