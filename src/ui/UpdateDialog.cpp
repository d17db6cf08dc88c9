#include "ui/UpdateDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

using Outcome = UpdaterController::Result::Outcome;

QString headlineFor(const UpdaterController::Result& result) {
    switch (result.outcome) {
    case Outcome::UpToDate:
        return UpdateDialog::tr("You’re up to date!");
    case Outcome::UpdateAvailable:
        return UpdateDialog::tr("A new version of Glintext is available!");
    case Outcome::Failed:
        return UpdateDialog::tr("Update Error!");
    }
    return {};
}

QString messageFor(const UpdaterController::Result& result) {
    switch (result.outcome) {
    case Outcome::UpToDate:
        return UpdateDialog::tr("Glintext %1 is currently the newest version available.")
            .arg(result.currentVersion);
    case Outcome::UpdateAvailable:
        return UpdateDialog::tr("Glintext %1 is now available—you have %2.")
            .arg(result.item->shortVersion, result.currentVersion);
    case Outcome::Failed:
        return UpdateDialog::tr("An error occurred while checking for updates: %1")
            .arg(result.error);
    }
    return {};
}

} // namespace

UpdateDialog::UpdateDialog(const UpdaterController::Result& result,
                           std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Software Update"));
    auto* icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    m_headline = new QLabel(headlineFor(result));
    QFont bold = m_headline->font();
    bold.setBold(true);
    m_headline->setFont(bold);
    m_message = new QLabel(messageFor(result));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_headline);
    texts->addWidget(m_message);
    auto* buttons = new QDialogButtonBox;
    if (result.outcome == Outcome::UpdateAvailable) {
        const Appcast::Item item = *result.item;
        if (item.releaseNotesLink.isValid()) {
            m_notes = new QLabel(QStringLiteral("<a href=\"notes\">%1</a>")
                                     .arg(tr("Release notes for version %1…")
                                              .arg(item.shortVersion.toHtmlEscaped())));
            m_notes->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                             Qt::LinksAccessibleByKeyboard);
            connect(m_notes, &QLabel::linkActivated, this,
                    [openUrl, item] { openUrl(item.releaseNotesLink); });
            texts->addWidget(m_notes);
        }
        m_download = buttons->addButton(tr("Download"), QDialogButtonBox::AcceptRole);
        m_download->setDefault(true);
        connect(m_download, &QPushButton::clicked, this,
                [openUrl, item] { openUrl(item.downloadUrl); });
        buttons->addButton(tr("Remind Me Later"), QDialogButtonBox::RejectRole);
    } else {
        buttons->addButton(QDialogButtonBox::Ok)->setDefault(true);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    texts->addSpacing(8);
    texts->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    setMinimumWidth(420);
}

QString UpdateDialog::headline() const {
    return m_headline->text();
}

QString UpdateDialog::message() const {
    return m_message->text();
}
