#include "ui/UpdateDialog.h"

#include "support/L10n.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Outcome = UpdaterController::Result::Outcome;

QString headlineKey(Outcome outcome) {
    switch (outcome) {
    case Outcome::UpToDate:
        return QStringLiteral("update.upToDate");
    case Outcome::UpdateAvailable:
        return QStringLiteral("update.available");
    case Outcome::Failed:
        return QStringLiteral("update.failed");
    }
    return {};
}

QString messageFor(const UpdaterController::Result& result, const L10n& l10n) {
    auto text = [&](const char* key, const QString& value) {
        return L10n::format(l10n.string(QString::fromLatin1(key)), value);
    };
    switch (result.outcome) {
    case Outcome::UpToDate:
        return text("update.upToDateBody", result.currentVersion);
    case Outcome::UpdateAvailable: {
        const QString first = text("update.availableBody", result.item->shortVersion);
        // Chinese and Japanese put no space after a sentence.
        const bool wide = first.endsWith(QChar(0x3002)) || first.endsWith(QChar(0xFF01));
        return first + (wide ? QString() : QStringLiteral(" ")) +
               text("update.installedVersion", result.currentVersion);
    }
    case Outcome::Failed:
        return text("update.failedBody", result.error);
    }
    return {};
}

} // namespace

UpdateDialog::UpdateDialog(const UpdaterController::Result& result, const L10n& l10n,
                           std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent), m_result(result), m_l10n(l10n), m_openUrl(std::move(openUrl)) {
    auto* icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    m_headline = new QLabel;
    QFont bold = m_headline->font();
    bold.setBold(true);
    m_headline->setFont(bold);
    m_headline->setWordWrap(true);
    m_message = new QLabel;
    m_message->setTextFormat(Qt::PlainText); // the error comes from the network
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_headline);
    texts->addWidget(m_message);
    if (m_result.outcome == Outcome::UpdateAvailable && m_result.item->releaseNotesLink.isValid()) {
        m_notes = new QLabel;
        m_notes->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                         Qt::LinksAccessibleByKeyboard);
        connect(m_notes, &QLabel::linkActivated, this,
                [this] { m_openUrl(m_result.item->releaseNotesLink); });
        texts->addWidget(m_notes);
    }
    auto* buttons = new QDialogButtonBox;
    addButtons(buttons);
    texts->addSpacing(8);
    texts->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    setMinimumWidth(420);
    relabel();
    connect(&m_l10n, &L10n::languageChanged, this, &UpdateDialog::relabel);
}

void UpdateDialog::addButtons(QDialogButtonBox* buttons) {
    if (m_result.outcome == Outcome::UpdateAvailable) {
        m_download = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
        m_download->setDefault(true);
        connect(m_download, &QPushButton::clicked, this,
                [this] { m_openUrl(m_result.item->downloadUrl); });
        m_dismiss = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    } else {
        m_dismiss = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
        m_dismiss->setDefault(true);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void UpdateDialog::relabel() {
    setWindowTitle(m_l10n.string(QStringLiteral("update.title")));
    m_headline->setText(m_l10n.string(headlineKey(m_result.outcome)));
    m_message->setText(messageFor(m_result, m_l10n));
    if (m_notes) {
        const QString notes = L10n::format(m_l10n.string(QStringLiteral("update.notes")),
                                           m_result.item->shortVersion);
        m_notes->setText(QStringLiteral("<a href=\"notes\">%1</a>").arg(notes.toHtmlEscaped()));
    }
    if (m_download) {
        m_download->setText(m_l10n.string(QStringLiteral("update.download")));
        m_dismiss->setText(m_l10n.string(QStringLiteral("update.later")));
    } else {
        m_dismiss->setText(m_l10n.string(QStringLiteral("common.ok")));
    }
}

QString UpdateDialog::headline() const {
    return m_headline->text();
}

QString UpdateDialog::message() const {
    return m_message->text();
}
