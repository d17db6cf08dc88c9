#pragma once

#include <QUrl>
#include <QWidget>

class L10n;
class QLabel;

// Who this program is: icon, name, slogan, version and build, the web page and the
// copyright line, centred, in the interface language. Shared by the About box and the About
// tab of the settings window.
class AboutHeader : public QWidget {
    Q_OBJECT
public:
    explicit AboutHeader(const L10n& l10n, QWidget* parent = nullptr);

    // "0.1.0 (42)" with a build number, else "0.1.0".
    static QString versionNumber();
    // The product's page on the service host.
    static QUrl webPage();

    QLabel* versionLabel() const { return m_version; }
    QLabel* linkLabel() const { return m_link; }

private:
    void relabel();

    const L10n& m_l10n;
    QLabel* m_tagline = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_link = nullptr;
    QLabel* m_copyright = nullptr;
};
