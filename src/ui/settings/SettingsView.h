#pragma once

#include "ui/settings/SettingsServices.h"
#include "ui/settings/SettingsTab.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QStackedWidget;
class SettingsRouter;

// The settings window's content: a 220-point sidebar (icon, name, version, the tabs) and a
// pane with the selected tab's title, subtitle and its scrolling cards. It follows the
// router both ways and relabels itself when the language changes.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    static constexpr int sidebarWidth = 220;

    SettingsView(const SettingsServices& services, SettingsRouter& router,
                 QWidget* parent = nullptr);

    // The page of `tab` (a GeneralTab, RecognitionTab ...).
    QWidget* page(SettingsTab tab) const;
    QListWidget* sidebarList() const { return m_tabs; }
    QString shownTitle() const;
    QString shownSubtitle() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void tintSidebar();
    QWidget* buildSidebar(const SettingsServices& services);
    QWidget* buildContent();
    void addPages(const SettingsServices& services);
    void showTab(SettingsTab tab);
    void relabel();

    L10n& m_l10n;
    SettingsRouter& m_router;
    QWidget* m_sidebar = nullptr;
    QListWidget* m_tabs = nullptr;
    QLabel* m_header = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_subtitle = nullptr;
    QStackedWidget* m_pages = nullptr;
};
