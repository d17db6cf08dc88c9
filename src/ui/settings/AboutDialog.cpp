#include "ui/settings/AboutDialog.h"

#include "support/L10n.h"
#include "ui/settings/AboutHeader.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Wide enough for the slogan on two lines and the title in a window manager's title bar.
constexpr int narrowest = 380;
constexpr int widest = 520;
} // namespace

AboutDialog::AboutDialog(const L10n& l10n, QWidget* parent) : QDialog(parent), m_l10n(l10n) {
    m_header = new AboutHeader(l10n, this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->setCenterButtons(true);
    m_close = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 16);
    layout->addWidget(m_header);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    relabel();
    connect(&m_l10n, &L10n::languageChanged, this, &AboutDialog::relabel);
}

void AboutDialog::relabel() {
    const QString title = m_l10n.string(QStringLiteral("menu.about"));
    setWindowTitle(title);
    m_close->setText(m_l10n.string(QStringLiteral("common.ok")));
    // The title bar adds its buttons to the title's own width.
    const int titleWidth = fontMetrics().horizontalAdvance(title) + 160;
    const int width = qBound(narrowest, titleWidth, widest);
    setMinimumWidth(width);
    resize(width, heightForWidth(width) > 0 ? heightForWidth(width) : sizeHint().height());
}
