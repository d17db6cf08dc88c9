#include "ui/settings/SettingsPage.h"

#include "ui/settings/SettingsCard.h"

#include <QLabel>
#include <QVBoxLayout>

SettingsPage::SettingsPage(QWidget* parent)
    : QWidget(parent), m_layout(new QVBoxLayout(this)), m_footnote(new QLabel(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(14);
    m_footnote->setWordWrap(true);
    m_footnote->setTextFormat(Qt::PlainText);
    m_footnote->setForegroundRole(QPalette::PlaceholderText);
    m_footnote->setContentsMargins(4, 0, 4, 0);
    m_footnote->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont small = m_footnote->font();
    small.setPointSizeF(small.pointSizeF() * 0.88);
    m_footnote->setFont(small);
    m_footnote->hide();
    m_layout->addWidget(m_footnote);
    m_layout->addStretch(1);
}

SettingsCard* SettingsPage::addCard() {
    auto* card = new SettingsCard(this);
    addBlock(card);
    return card;
}

void SettingsPage::addBlock(QWidget* widget) {
    // The footnote and the closing stretch stay last.
    m_layout->insertWidget(m_layout->count() - 2, widget);
}

void SettingsPage::setFootnote(const QString& text) {
    m_footnote->setText(text);
    m_footnote->setVisible(!text.isEmpty());
}
