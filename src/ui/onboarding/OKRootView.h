#pragma once

#include "ui/onboarding/OKStep.h"
#include "ui/onboarding/OKStrings.h"

#include <QList>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>

class GTPillButton;
class OKLinkButton;
class OKPageDot;
class QLabel;
class QScrollArea;
class QVariantAnimation;

// The guide's pages with their navigation: the back button, the page body (scrolling only when
// it cannot fit), the footer with the page's buttons or the wait for a permission, and the
// page dots. A permission page is re-read on every tick and moves on by itself once the
// permission arrives, unless it was granted already on arrival or the page was pinned.
class OKRootView : public QWidget {
    Q_OBJECT
public:
    static constexpr int viewWidth = 360;
    // The page body always keeps at least this much height, however small the screen.
    static constexpr int minContentSpace = 120;

    OKRootView(QList<OKStep> steps, OKStrings strings, int startIndex, bool pinned,
               int maxContentHeight,
               std::chrono::milliseconds tickInterval = std::chrono::seconds(1),
               QWidget* parent = nullptr);

    // Receives the measured height of the whole view whenever it changes.
    std::function<void(int)> onHeight;
    // Run by the last page's primary button.
    std::function<void()> onFinish;

    int index() const { return m_index; }
    int count() const { return int(m_steps.size()); }
    bool isPinned() const { return m_pinned; }
    bool grantedOnArrival() const { return m_grantedOnArrival; }
    bool waitingForGrant() const;
    int tick() const { return m_tick; }
    int contentHeight() const { return m_contentHeight; }
    int footerHeight() const { return m_footerHeight; }
    int measuredHeight() const { return m_measuredHeight; }
    bool contentScrolls() const { return m_scrolls; }
    QWidget* page() const;

    // The next page, or the end on the last one.
    void advance();
    void goBack();
    void goTo(int index);
    // Rebuilds the page and the footer in the current language.
    void relabel();

    GTPillButton* backButton() const { return m_back; }
    GTPillButton* primaryButton() const { return m_primary; }
    OKLinkButton* secondaryButton() const { return m_secondary; }
    GTPillButton* laterButton() const { return m_later; }
    const QList<OKPageDot*>& dots() const { return m_dots; }

Q_SIGNALS:
    void pageChanged(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    const OKStep& current() const { return m_steps.at(m_index); }
    void buildLayout();
    QWidget* buildFooter();
    void arrive();
    void buildPage();
    void refreshFooter();
    void refreshDots();
    void measure();
    void onTick();
    void runPrimary();
    void runSecondary();
    void fadeIn(QWidget* page);

    QList<OKStep> m_steps;
    OKStrings m_strings;
    const bool m_pinned;
    const int m_maxContentHeight;
    int m_index = 0;
    bool m_grantedOnArrival = false;
    bool m_lastGranted = false;
    bool m_lastWaiting = false;
    int m_contentHeight = 0;
    int m_footerHeight = 0;
    int m_measuredHeight = 0;
    bool m_scrolls = false;
    int m_tick = 0;
    int m_waitingPhase = 0;
    QTimer m_timer;
    QTimer m_waitingTimer;

    GTPillButton* m_back = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_footer = nullptr;
    QWidget* m_waitingRow = nullptr;
    QLabel* m_waitingDots = nullptr;
    QLabel* m_waitingText = nullptr;
    GTPillButton* m_later = nullptr;
    GTPillButton* m_primary = nullptr;
    OKLinkButton* m_secondary = nullptr;
    QList<OKPageDot*> m_dots;
    QVariantAnimation* m_fade = nullptr;
};
