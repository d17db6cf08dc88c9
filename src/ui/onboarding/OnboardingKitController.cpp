#include "ui/onboarding/OnboardingKitController.h"

#include "ui/onboarding/OKRootView.h"
#include "ui/onboarding/OKWindow.h"
#include "ui/onboarding/OnboardingKitEnv.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace {

std::optional<QRect> screenFrame(const QWidget* window) {
    QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return screen->availableGeometry();
}

} // namespace

OnboardingKitController::OnboardingKitController(std::function<QList<OKStep>()> makeSteps,
                                                 std::function<OKStrings()> strings,
                                                 QStringList legacyEnv, QObject* parent)
    : QObject(parent), m_makeSteps(std::move(makeSteps)), m_strings(std::move(strings)),
      m_legacyEnv(std::move(legacyEnv)), m_visibleFrame(&screenFrame) {}

OnboardingKitController::~OnboardingKitController() {
    if (m_window) {
        m_window->onWillClose = nullptr;
        delete m_window;
    }
}

QWidget* OnboardingKitController::window() const {
    return m_window;
}

int OnboardingKitController::maxHeight() const {
    const std::optional<QRect> frame = m_visibleFrame(nullptr);
    return frame ? frame->height() - screenMargin : fallbackMaxHeight;
}

int OnboardingKitController::startIndex(const QList<OKStep>& steps, bool startAtPermissions,
                                        bool* pinned) const {
    int index = 0;
    if (startAtPermissions) {
        for (int i = 0; i < steps.size(); ++i) {
            if (steps[i].kind == OKStep::Kind::Permissions) {
                index = i;
                break;
            }
        }
    }
    *pinned = false;
    if (const std::optional<int> page = OnboardingKitEnv::pinnedPage(m_legacyEnv)) {
        index = std::clamp(*page, 0, int(steps.size()) - 1);
        *pinned = true;
    }
    return index;
}

void OnboardingKitController::show(bool startAtPermissions) {
    if (m_window) {
        m_window->raise();
        m_window->activateWindow();
        return;
    }
    const QList<OKStep> steps = m_makeSteps();
    if (steps.isEmpty())
        return;
    bool pinned = false;
    const int start = startIndex(steps, startAtPermissions, &pinned);

    m_window = new OKWindow;
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->onWillClose = [this] { windowWillClose(); };
    m_window->resize(windowWidth, initialHeight);
    auto* column = new QVBoxLayout(m_window);
    column->setContentsMargins(0, 0, 0, 0);
    m_root =
        new OKRootView(steps, m_strings(), start, pinned, maxHeight(), m_tickInterval, m_window);
    column->addWidget(m_root);
    m_root->onFinish = [this] { finish(); };

    const int height = std::min(m_root->measuredHeight(), maxHeight());
    m_window->setFixedSize(windowWidth, std::max(height, 1));
    if (const std::optional<QRect> frame = m_visibleFrame(nullptr)) {
        QRect placed(QPoint(), m_window->size());
        placed.moveCenter(frame->center());
        m_window->move(placed.topLeft());
    }
    m_root->onHeight = [this](int measured) { resize(measured); };
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void OnboardingKitController::resize(int height) {
    if (!m_window)
        return;
    height = std::min(height, maxHeight());
    if (height <= 0 || height == m_window->height())
        return;
    const QRect old = m_window->geometry();
    QRect placed(old.left(), old.top(), windowWidth, height); // the top edge stays
    const std::optional<QRect> frame = m_visibleFrame(m_window);
    if (frame) {
        // The frame the window manager adds below the content counts too.
        const int below = std::max(0, m_window->frameGeometry().bottom() - old.bottom());
        if (placed.bottom() + below > frame->bottom())
            placed.moveBottom(frame->bottom() - below);
    }
    m_window->setFixedSize(windowWidth, height);
    m_window->setGeometry(placed);
}

void OnboardingKitController::finish() {
    m_finishing = true;
    if (m_window)
        m_window->close();
    forgetWindow();
    m_finishing = false;
    if (onCompleted)
        onCompleted();
}

void OnboardingKitController::windowWillClose() {
    if (m_finishing)
        return;
    forgetWindow();
    if (onClosedByUser)
        onClosedByUser();
}

void OnboardingKitController::forgetWindow() {
    if (m_window)
        m_window->onWillClose = nullptr;
    m_window = nullptr;
    m_root = nullptr;
}
