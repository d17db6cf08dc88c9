#include "ui/settings/SettingsView.h"

#include "BuildConfig.h"
#include "support/L10n.h"
#include "ui/PillTheme.h"
#include "ui/settings/AboutTab.h"
#include "ui/settings/AccountTab.h"
#include "ui/settings/AppIconButton.h"
#include "ui/settings/GeneralTab.h"
#include "ui/settings/PermissionsTab.h"
#include "ui/settings/PrivacyTab.h"
#include "ui/settings/RecognitionTab.h"
#include "ui/settings/SettingsRouter.h"
#include "ui/settings/SidebarTabDelegate.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <mutex>

namespace {

QLabel* scaledLabel(QWidget* parent, qreal scale, QFont::Weight weight) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setWeight(weight);
    label->setFont(font);
    return label;
}

QScrollArea* scrolling(QWidget* page) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // Tab goes from control to control; the area itself is no stop on the way.
    area->setFocusPolicy(Qt::NoFocus);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->viewport()->setAutoFillBackground(false);
    // Only the knob shows, thin, over an empty track: the cards keep the width.
    area->verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px; }"
        "QScrollBar::handle:vertical { background: rgba(128, 128, 128, 0.55);"
        " border-radius: 3px; min-height: 28px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    page->setAutoFillBackground(false);
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    // Room on the right for the scroll bar, so it never covers a control.
    layout->setContentsMargins(28, 4, 20, 18);
    layout->addWidget(page);
    area->setWidget(holder);
    return area;
}

// A plain top-level widget reaches assistive technology as a filler; this one is a window,
// named by its title, so a screen reader announces it as one.
QAccessibleInterface* accessibleWindow(const QString&, QObject* object) {
    if (auto* view = qobject_cast<SettingsView*>(object); view && view->isWindow())
        return new QAccessibleWidget(view, QAccessible::Window);
    return nullptr;
}

} // namespace

SettingsView::SettingsView(const SettingsServices& services, SettingsRouter& router,
                           QWidget* parent)
    : QWidget(parent), m_l10n(services.l10n), m_router(router) {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(&accessibleWindow); });
    setMinimumSize(720, 480);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildSidebar(services));
    layout->addWidget(buildContent(), 1);
    addPages(services);

    connect(m_tabs, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_router.select(SettingsTabs::all().value(row));
    });
    connect(&m_router, &SettingsRouter::selectedChanged, this, &SettingsView::showTab);
    connect(&m_l10n, &L10n::languageChanged, this, &SettingsView::relabel);
    relabel();
    showTab(m_router.selected());
}

QWidget* SettingsView::buildSidebar(const SettingsServices& services) {
    auto* sidebar = new QWidget(this);
    m_sidebar = sidebar;
    sidebar->setFixedWidth(sidebarWidth);
    sidebar->setAutoFillBackground(true);
    tintSidebar();
    auto* layout = new QVBoxLayout(sidebar);
    layout->setContentsMargins(0, 22, 0, 12);
    layout->setSpacing(2);

    auto* icon = new AppIconButton(services.testerMode, services.clock, sidebar);
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    auto* name = scaledLabel(sidebar, 1.25, QFont::Bold);
    name->setText(QStringLiteral("Glintext"));
    layout->addWidget(name, 0, Qt::AlignHCenter);
    auto* version = scaledLabel(sidebar, 0.88, QFont::Normal);
    version->setText(QString::fromUtf8(BuildConfig::version));
    version->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addSpacing(16);

    m_header = scaledLabel(sidebar, 0.85, QFont::DemiBold);
    m_header->setForegroundRole(QPalette::PlaceholderText);
    m_header->setContentsMargins(18, 0, 18, 4);
    layout->addWidget(m_header);

    m_tabs = new QListWidget(sidebar);
    m_tabs->setFrameShape(QFrame::NoFrame);
    m_tabs->setItemDelegate(new SidebarTabDelegate(m_tabs));
    m_tabs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tabs->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_tabs->setMouseTracking(true);
    m_tabs->viewport()->setAutoFillBackground(false);
    m_tabs->setAutoFillBackground(false);
    for (SettingsTab tab : SettingsTabs::all()) {
        auto* item = new QListWidgetItem(m_tabs);
        item->setData(Qt::UserRole, int(tab));
    }
    layout->addWidget(m_tabs, 1);
    return sidebar;
}

QWidget* SettingsView::buildContent() {
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 22, 0, 0);
    layout->setSpacing(2);
    m_title = scaledLabel(content, 1.6, QFont::Bold);
    m_title->setContentsMargins(28, 0, 28, 0);
    m_subtitle = scaledLabel(content, 1.0, QFont::Normal);
    m_subtitle->setForegroundRole(QPalette::PlaceholderText);
    m_subtitle->setContentsMargins(28, 0, 28, 0);
    m_subtitle->setWordWrap(true);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
    layout->addSpacing(14);
    m_pages = new QStackedWidget(content);
    layout->addWidget(m_pages, 1);
    return content;
}

// In the order of SettingsTabs::all().
void SettingsView::addPages(const SettingsServices& s) {
    m_pages->addWidget(scrolling(new GeneralTab(s.settings, s.l10n)));
    m_pages->addWidget(scrolling(new RecognitionTab(s.settings, s.history, s.l10n)));
    m_pages->addWidget(scrolling(new PrivacyTab(s.l10n)));
    m_pages->addWidget(scrolling(new PermissionsTab(s.permissions, s.l10n, s.permissionPoll)));
    m_pages->addWidget(scrolling(new AccountTab(s.account, s.sync, s.l10n)));
    m_pages->addWidget(scrolling(new AboutTab(s.settings, s.l10n, s.updater)));
}

QWidget* SettingsView::page(SettingsTab tab) const {
    auto* area = static_cast<QScrollArea*>(m_pages->widget(int(SettingsTabs::all().indexOf(tab))));
    return area ? area->widget()->layout()->itemAt(0)->widget() : nullptr;
}

QString SettingsView::shownTitle() const {
    return m_title->text();
}

QString SettingsView::shownSubtitle() const {
    return m_subtitle->text();
}

void SettingsView::showTab(SettingsTab tab) {
    const int row = int(SettingsTabs::all().indexOf(tab));
    if (m_tabs->currentRow() != row)
        m_tabs->setCurrentRow(row);
    m_pages->setCurrentIndex(row);
    m_title->setText(m_l10n.string(SettingsTabs::titleKey(tab)));
    m_subtitle->setText(m_l10n.string(SettingsTabs::subtitleKey(tab)));
}

// A shade off the window colour, lighter in the dark, so the sidebar stands apart in both.
void SettingsView::tintSidebar() {
    QPalette palette = m_sidebar->palette();
    const QColor window = this->palette().color(QPalette::Window);
    palette.setColor(QPalette::Window, PillTheme::isDark(this->palette()) ? window.lighter(140)
                                                                          : window.lighter(104));
    m_sidebar->setPalette(palette);
}

void SettingsView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange && m_sidebar)
        tintSidebar();
    QWidget::changeEvent(event);
}

void SettingsView::relabel() {
    const QString heading = m_l10n.string(QStringLiteral("settings.title"));
    setWindowTitle(heading + QStringLiteral(" — Glintext"));
    m_header->setText(heading);
    m_tabs->setAccessibleName(heading);
    for (int row = 0; row < m_tabs->count(); ++row)
        m_tabs->item(row)->setText(m_l10n.string(SettingsTabs::titleKey(SettingsTabs::all()[row])));
    showTab(m_router.selected());
}
