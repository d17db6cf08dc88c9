#pragma once

#include <QObject>

#include <initializer_list>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the GUI thread, so that a session logout,
// `kill` or Ctrl+C quit the application the ordinary way and the history's final save runs.
// One instance per process; it restores the default handlers when destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::initializer_list<int> signalNumbers,
                                QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool isValid() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPipe();

    QList<int> m_signals;
    QSocketNotifier* m_notifier = nullptr;
};
