#include "ui/OnboardingWindowController.h"

#include "core/AppSettings.h"
#include "core/Permissions.h"
#include "support/L10n.h"
#include "ui/onboarding/OKRootView.h"
#include "ui/onboarding/OnboardingKitController.h"
#include "ui/onboarding/OnboardingKitEnv.h"

OnboardingWindowController::OnboardingWindowController(AppSettings& settings,
                                                       Permissions& permissions, L10n& l10n,
                                                       QObject* parent)
    : QObject(parent), m_settings(settings), m_permissions(permissions), m_l10n(l10n),
      m_pages(settings, l10n) {}

OnboardingWindowController::~OnboardingWindowController() = default;

bool OnboardingWindowController::forcedByEnvironment() {
    return OnboardingKitEnv::forced();
}

void OnboardingWindowController::show(bool startAtPermissions) {
    if (!m_kit) {
        L10n* l10n = &m_l10n;
        auto strings = [l10n] {
            auto text = [l10n](const char* key) {
                return [l10n, key] { return l10n->string(QString::fromLatin1(key)); };
            };
            OKStrings out;
            out.continueTitle = text("onb.continue");
            out.startTitle = text("onb.start");
            out.waiting = text("onb.waiting");
            out.later = text("onb.skipPerm");
            out.back = text("common.back");
            out.pageName = [l10n](int number) {
                return L10n::format(l10n->string(QStringLiteral("onb.pageDot")),
                                    QString::number(number));
            };
            return out;
        };
        m_kit = std::make_unique<OnboardingKitController>([this] { return makeSteps(); }, strings,
                                                          QStringList{});
        m_kit->setTickInterval(m_tickInterval);
        m_kit->onCompleted = [this] { completed(); };
        m_kit->onClosedByUser = [this] { completed(); };
    }
    m_kit->show(startAtPermissions);
    if (OKRootView* root = m_kit->rootView()) {
        connect(&m_l10n, &L10n::languageChanged, root, &OKRootView::relabel, Qt::UniqueConnection);
    }
}

QList<OKStep> OnboardingWindowController::makeSteps() {
    const OnboardingPages* pages = &m_pages;
    Permissions* permissions = &m_permissions;
    L10n* l10n = &m_l10n;
    auto granted = [permissions] { return permissions->hasScreenRecording(); };

    OKStep welcome;
    welcome.kind = OKStep::Kind::Welcome;
    welcome.content = [pages] { return pages->welcome(); };

    OKStep permission;
    permission.kind = OKStep::Kind::Permissions;
    permission.content = [this, pages, granted] {
        return pages->permissions({granted, [this] { allow(); }});
    };
    permission.requiredGranted = granted;
    permission.skippable = true;
    permission.secondaryTitle = [l10n] { return l10n->string(QStringLiteral("onb.openSettings")); };
    permission.secondaryAction = [permissions] {
        permissions->openScreenRecordingSettings();
        return false;
    };

    OKStep tutorial;
    tutorial.kind = OKStep::Kind::Tutorial;
    tutorial.content = [pages] { return pages->tutorial(); };

    OKStep consent;
    consent.kind = OKStep::Kind::Consent;
    consent.content = [pages] { return pages->consent(); };
    return {welcome, permission, tutorial, consent};
}

// The desktop prompts once per run; after that the button leads to the desktop's settings.
bool OnboardingWindowController::allow() {
    if (m_permissions.didPromptScreenRecording())
        m_permissions.openScreenRecordingSettings();
    else
        m_permissions.requestScreenRecording();
    return false;
}

// Reached from inside the guide's own handlers: the guide goes once they have returned.
void OnboardingWindowController::completed() {
    m_settings.set(Settings::onboardingCompleted, true);
    if (m_kit)
        m_kit.release()->deleteLater();
}
