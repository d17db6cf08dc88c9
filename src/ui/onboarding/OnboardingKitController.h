#pragma once

#include "ui/onboarding/OKStep.h"
#include "ui/onboarding/OKStrings.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

class OKRootView;
class OKWindow;
class QWidget;

// Shows the guide's pages in a window of fixed width that follows the height of its content,
// never taller than the screen's usable height minus a margin and never below its bottom.
// Finishing the last page and closing the window both end the guide, each reported once.
class OnboardingKitController : public QObject {
    Q_OBJECT
public:
    static constexpr int windowWidth = 360;
    static constexpr int initialHeight = 500;
    // Kept free between the window and the screen's usable height.
    static constexpr int screenMargin = 40;
    // The height limit when no screen is known.
    static constexpr int fallbackMaxHeight = 860;

    // The usable area of the screen `window` is on, or of the main screen for nullptr;
    // nothing when there is no screen.
    using VisibleFrame = std::function<std::optional<QRect>(const QWidget* window)>;

    OnboardingKitController(std::function<QList<OKStep>()> makeSteps,
                            std::function<OKStrings()> strings, QStringList legacyEnv = {},
                            QObject* parent = nullptr);
    ~OnboardingKitController() override;

    std::function<void()> onCompleted;
    std::function<void()> onClosedByUser;

    // For tests: another screen, and a quicker permission check than once a second.
    void setVisibleFrame(VisibleFrame frame) { m_visibleFrame = std::move(frame); }
    void setTickInterval(std::chrono::milliseconds interval) { m_tickInterval = interval; }

    // Opens the window (at the permission page when asked), or brings the open one forward.
    void show(bool startAtPermissions);
    // Makes the content `height` tall, within the screen's limits, keeping the top edge.
    void resize(int height);
    // Closes the window as the end of the guide.
    void finish();
    // The window is closing; when the user closed it, that ends the guide too.
    void windowWillClose();

    QWidget* window() const;
    OKRootView* rootView() const { return m_root; }
    bool isFinishing() const { return m_finishing; }

private:
    int maxHeight() const;
    int startIndex(const QList<OKStep>& steps, bool startAtPermissions, bool* pinned) const;
    void forgetWindow();

    std::function<QList<OKStep>()> m_makeSteps;
    std::function<OKStrings()> m_strings;
    QStringList m_legacyEnv;
    VisibleFrame m_visibleFrame;
    std::chrono::milliseconds m_tickInterval{1000};
    QPointer<OKWindow> m_window;
    QPointer<OKRootView> m_root;
    bool m_finishing = false;
};
