#include "ui/settings/SettingsRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel* wrappingLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    // Long translations wrap instead of pushing the control out of the card.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(120);
    return label;
}

// Switches and drop-downs have no text of their own that says what they set: the row's
// title names them. Buttons keep their title, key caps their keys.
bool namedByRow(const QWidget* control) {
    return control->inherits("ToggleSwitch") || control->inherits("PulldownPill");
}

} // namespace

SettingsRow::SettingsRow(QWidget* trailing, QWidget* parent)
    : QWidget(parent), m_title(wrappingLabel(this)), m_subtitle(wrappingLabel(this)),
      m_trailing(trailing) {
    QFont titleFont = m_title->font();
    titleFont.setWeight(QFont::Medium);
    m_title->setFont(titleFont);
    QFont small = m_subtitle->font();
    small.setPointSizeF(small.pointSizeF() * 0.88);
    m_subtitle->setFont(small);
    m_subtitle->setForegroundRole(QPalette::PlaceholderText);
    m_subtitle->hide();

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->setContentsMargins(0, 0, 0, 0);
    texts->addWidget(m_title);
    texts->addWidget(m_subtitle);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(16);
    layout->addLayout(texts, 1);
    if (m_trailing) {
        m_trailing->setParent(this);
        layout->addWidget(m_trailing, 0, Qt::AlignVCenter | Qt::AlignRight);
    }
}

void SettingsRow::setTexts(const QString& title, const QString& subtitle) {
    m_title->setText(title);
    m_subtitle->setText(subtitle);
    m_subtitle->setVisible(!subtitle.isEmpty());
    if (m_trailing && namedByRow(m_trailing)) {
        m_trailing->setAccessibleName(title);
        m_trailing->setAccessibleDescription(subtitle);
    }
}

QString SettingsRow::title() const {
    return m_title->text();
}

QString SettingsRow::subtitle() const {
    return m_subtitle->text();
}
