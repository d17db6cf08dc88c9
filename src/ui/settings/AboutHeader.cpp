#include "ui/settings/AboutHeader.h"

#include "core/AppInfo.h"
#include "core/CloudConfig.h"
#include "support/L10n.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>
#include <QVBoxLayout>

// The icon is compiled into a static library, whose resources are registered by hand.
static void registerIconResource() {
    Q_INIT_RESOURCE(glintext);
}

namespace {

constexpr int iconSize = 64;

// The application's icon, sharp at the screen's pixel ratio.
QPixmap appIcon(qreal pixelRatio) {
    registerIconResource();
    QPixmap pixmap(QSize(iconSize, iconSize) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(QStringLiteral(":/icons/glintext.svg"))
        .render(&painter, QRectF(0, 0, iconSize, iconSize));
    return pixmap;
}

QLabel* centredLabel(QWidget* parent, bool wrap = true) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(wrap);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QFont scaled(QFont font, qreal factor, QFont::Weight weight) {
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

} // namespace

AboutHeader::AboutHeader(const L10n& l10n, QWidget* parent) : QWidget(parent), m_l10n(l10n) {
    auto* icon = new QLabel(this);
    icon->setAlignment(Qt::AlignHCenter);
    icon->setPixmap(appIcon(devicePixelRatioF()));
    icon->setAccessibleName(QStringLiteral("Glintext"));

    auto* name = centredLabel(this, false);
    name->setText(QStringLiteral("Glintext")); // the product's name is never translated
    name->setFont(scaled(font(), 1.6, QFont::Bold));
    m_tagline = centredLabel(this);
    m_version = centredLabel(this);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse); // quoted in bug reports
    m_version->setForegroundRole(QPalette::PlaceholderText);

    m_link = centredLabel(this, false);
    m_link->setTextFormat(Qt::RichText);
    m_link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    const QUrl page = webPage();
    m_link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                        .arg(QString::fromUtf8(page.toEncoded()).toHtmlEscaped(),
                             page.toDisplayString(QUrl::RemoveScheme).mid(2).toHtmlEscaped()));
    connect(m_link, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });

    m_copyright = centredLabel(this);
    m_copyright->setFont(scaled(font(), 0.9, QFont::Normal));
    m_copyright->setForegroundRole(QPalette::PlaceholderText);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(m_tagline);
    layout->addWidget(m_version);
    layout->addSpacing(4);
    layout->addWidget(m_link);
    layout->addWidget(m_copyright);
    relabel();
    connect(&m_l10n, &L10n::languageChanged, this, &AboutHeader::relabel);
}

QString AboutHeader::versionNumber() {
    const QString build = AppInfo::build();
    return build.isEmpty() ? AppInfo::version()
                           : QStringLiteral("%1 (%2)").arg(AppInfo::version(), build);
}

QUrl AboutHeader::webPage() {
    return CloudConfig::appendingPath(CloudConfig::baseURL(), QStringLiteral("glintext"));
}

void AboutHeader::relabel() {
    m_tagline->setText(m_l10n.string(QStringLiteral("about.tagline")));
    m_version->setText(
        L10n::format(m_l10n.string(QStringLiteral("about.version")), versionNumber()));
    m_copyright->setText(m_l10n.string(QStringLiteral("about.copyright")));
}
