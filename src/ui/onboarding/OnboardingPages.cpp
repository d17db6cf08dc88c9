#include "ui/onboarding/OnboardingPages.h"

#include "core/AppSettings.h"
#include "support/GlobalHotKey.h"
#include "support/L10n.h"
#include "ui/GTPillButton.h"
#include "ui/TrayIcon.h"
#include "ui/onboarding/OnboardingDemoCanvas.h"
#include "ui/settings/KeyChips.h"
#include "ui/settings/ToggleSwitch.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int iconSide = 28;

QLabel* wrapped(const QString& text, QWidget* parent, qreal pointSize = 0, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QVBoxLayout* column(QWidget* page, int spacing = 12) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

// A page's title with its text below.
void addHeader(QVBoxLayout* layout, QWidget* page, const QString& title, const QString& body) {
    layout->addWidget(wrapped(title, page, 17, true));
    if (!body.isEmpty())
        layout->addWidget(wrapped(body, page));
}

QPixmap symbol(const QWidget* widget, const std::function<void(QPainter&)>& draw) {
    const qreal scale = widget->devicePixelRatioF();
    QPixmap pixmap(QSize(iconSide, iconSide) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(widget->palette().color(QPalette::WindowText), 1.8, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    return pixmap;
}

// Viewfinder corners around lines of text: reading the screen.
void drawViewfinder(QPainter& painter) {
    const qreal a = 4, b = 24, c = 8;
    for (const QPointF& corner : {QPointF(a, a), QPointF(b, a), QPointF(a, b), QPointF(b, b)}) {
        const qreal dx = corner.x() == a ? c : -c, dy = corner.y() == a ? c : -c;
        painter.drawPolyline(QPolygonF{corner + QPointF(0, dy), corner, corner + QPointF(dx, 0)});
    }
    painter.drawLine(QPointF(10, 12), QPointF(18, 12));
    painter.drawLine(QPointF(10, 16), QPointF(16, 16));
}

// A dashed rectangle: the area being dragged.
void drawDashedRect(QPainter& painter) {
    QPen pen = painter.pen();
    pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.drawRoundedRect(QRectF(4, 7, 20, 14), 2, 2);
}

QLabel* iconLabel(QWidget* parent, const std::function<void(QPainter&)>& draw) {
    auto* icon = new QLabel(parent);
    icon->setFixedSize(iconSide, iconSide);
    icon->setPixmap(symbol(parent, draw));
    return icon;
}

// One hint of the tutorial: key caps (or an icon) in the first column, what they do beside.
void addHint(QGridLayout* grid, QWidget* leading, const QString& text) {
    const int row = grid->rowCount();
    QWidget* holder = grid->parentWidget();
    leading->setParent(holder);
    grid->addWidget(leading, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(wrapped(text, holder), row, 1);
}

KeyChips* chips(const QKeySequence& sequence, QWidget* parent) {
    auto* keys = new KeyChips(parent);
    keys->setSequence(sequence);
    return keys;
}

} // namespace

OnboardingPages::OnboardingPages(AppSettings& settings, const L10n& l10n)
    : m_settings(settings), m_l10n(l10n) {}

QString OnboardingPages::text(const char* key) const {
    return m_l10n.string(QString::fromLatin1(key));
}

QWidget* OnboardingPages::welcome() const {
    auto* page = new QWidget;
    QVBoxLayout* layout = column(page, 14);
    auto* icon = new QLabel(page);
    icon->setPixmap(TrayIcon::image(TrayIcon::State::Active, false).pixmap(56, 56));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    QLabel* name = wrapped(QStringLiteral("Glintext"), page, 22, true);
    name->setAlignment(Qt::AlignHCenter);
    layout->addWidget(name);
    QLabel* tagline = wrapped(text("onb.tagline"), page);
    tagline->setAlignment(Qt::AlignHCenter);
    layout->addWidget(tagline);
    layout->addWidget(wrapped(text("onb.welcomeBody"), page));
    return page;
}

QWidget* OnboardingPages::permissions(const PermissionRow& row) const {
    auto* page = new QWidget;
    QVBoxLayout* layout = column(page);
    addHeader(layout, page, text("onb.permTitle"), text("onb.permBody"));

    auto* item = new QWidget(page);
    auto* grid = new QHBoxLayout(item);
    grid->setContentsMargins(0, 6, 0, 0);
    grid->setSpacing(10);
    grid->addWidget(iconLabel(item, drawViewfinder), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(wrapped(text("perm.screen"), item, 0, true));
    texts->addWidget(wrapped(text("perm.screenWhy"), item));
    grid->addLayout(texts, 1);
    const bool granted = row.granted && row.granted();
    auto* button = new GTPillButton(text(granted ? "common.granted" : "common.grant"), !granted,
                                    row.allow, item);
    button->setEnabled(!granted);
    button->setObjectName(QStringLiteral("grant"));
    grid->addWidget(button, 0, Qt::AlignTop);
    layout->addWidget(item);
    return page;
}

QWidget* OnboardingPages::tutorial() const {
    auto* page = new QWidget;
    QVBoxLayout* layout = column(page, 10);
    addHeader(layout, page, text("onb.tutTitle"), text("onb.tutBody"));
    auto* canvas = new OnboardingDemoCanvas(page);
    canvas->setAccessibleName(text("onb.tutResult"));
    layout->addWidget(canvas);
    auto* hints = new QWidget(page);
    auto* grid = new QGridLayout(hints);
    grid->setContentsMargins(0, 2, 0, 2);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(1, 1);
    addHint(grid, chips(GlobalHotKey::sequenceFor(GlobalHotKey::HotKeyID::Capture), hints),
            text("onb.tutOpen"));
    addHint(grid, iconLabel(hints, drawDashedRect), text("onb.tutDrag"));
    addHint(grid, chips(QKeySequence::Paste, hints), text("onb.tutPaste"));
    addHint(grid, chips(QKeySequence(Qt::Key_Escape), hints), text("onb.tutCancel"));
    layout->addWidget(hints);
    layout->addWidget(wrapped(text("onb.tutResult"), page));
    return page;
}

QWidget* OnboardingPages::consent() const {
    auto* page = new QWidget;
    QVBoxLayout* layout = column(page, 12);
    addHeader(layout, page, text("onb.readyTitle"), text("onb.trayNote"));
    QLabel* noTray = wrapped(text("onb.noTrayNote"), page);
    noTray->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(noTray);
    layout->addWidget(switchRow("gen.launchLogin", "onb.loginBody", "launchAtLogin", page));
    layout->addWidget(switchRow("onb.improveTitle", "onb.improveBody", "improveDataSharing", page));
    layout->addWidget(switchRow("onb.crashTitle", "onb.crashBody", "crashReportingEnabled", page));
    return page;
}

// A title and its explanation beside a switch that writes the setting at once.
QWidget* OnboardingPages::switchRow(const char* titleKey, const char* bodyKey,
                                    const char* settingKey, QWidget* parent) const {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(10);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(wrapped(text(titleKey), row, 0, true));
    texts->addWidget(wrapped(text(bodyKey), row, 9.5));
    layout->addLayout(texts, 1);

    const QString key = QString::fromLatin1(settingKey);
    auto* toggle = new ToggleSwitch(row);
    toggle->setAccessibleName(text(titleKey));
    toggle->setObjectName(key);
    toggle->setChecked(m_settings.jsonValue(key).toBool());
    AppSettings* settings = &m_settings;
    QObject::connect(toggle, &QAbstractButton::toggled, row,
                     [settings, key](bool on) { settings->setJsonValue(key, on); });
    // A change from elsewhere (the settings window, sync) shows here too.
    QObject::connect(settings, &AppSettings::changed, toggle,
                     [settings, key, toggle](const QString& changed) {
                         if (changed == key)
                             toggle->setChecked(settings->jsonValue(key).toBool());
                     });
    layout->addWidget(toggle, 0, Qt::AlignTop);
    return row;
}
