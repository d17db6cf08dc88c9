#include "ui/onboarding/OKRootView.h"

#include "ui/GTPillButton.h"
#include "ui/PillTheme.h"
#include "ui/onboarding/OKLinkButton.h"
#include "ui/onboarding/OKPageDot.h"

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {

constexpr int pageChangeMs = 200;
constexpr int waitingStepMs = 400;

QString textOf(const std::function<QString()>& text) {
    return text ? text() : QString();
}

// A row holding `widget` in the middle.
QHBoxLayout* centred(QWidget* widget) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(widget);
    row->addStretch();
    return row;
}

} // namespace

OKRootView::OKRootView(QList<OKStep> steps, OKStrings strings, int startIndex, bool pinned,
                       int maxContentHeight, std::chrono::milliseconds tickInterval,
                       QWidget* parent)
    : QWidget(parent), m_steps(std::move(steps)), m_strings(std::move(strings)), m_pinned(pinned),
      m_maxContentHeight(maxContentHeight) {
    Q_ASSERT(!m_steps.isEmpty());
    m_index = std::clamp(startIndex, 0, int(m_steps.size()) - 1);
    setFixedWidth(viewWidth);
    buildLayout();
    m_timer.setInterval(tickInterval);
    connect(&m_timer, &QTimer::timeout, this, &OKRootView::onTick);
    m_timer.start();
    m_waitingTimer.setInterval(waitingStepMs);
    connect(&m_waitingTimer, &QTimer::timeout, this, [this] {
        m_waitingPhase = (m_waitingPhase + 1) % 3;
        m_waitingDots->setText(QString(m_waitingPhase + 1, QChar(0x2022)));
    });
    arrive();
}

void OKRootView::buildLayout() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 10, 20, 14);
    column->setSpacing(10);

    m_back = new GTPillButton(
        QString(), false, [this] { goBack(); }, this);
    QSizePolicy keepSpace = m_back->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true); // the page does not jump when it appears
    m_back->setSizePolicy(keepSpace);
    auto* top = new QHBoxLayout;
    top->addWidget(m_back);
    top->addStretch();
    column->addLayout(top);

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    column->addWidget(m_scroll);

    m_footer = buildFooter();
    column->addWidget(m_footer);

    auto* dotsRow = new QHBoxLayout;
    dotsRow->setSpacing(2);
    dotsRow->addStretch();
    for (int i = 0; i < count(); ++i) {
        auto* dot = new OKPageDot(this);
        connect(dot, &QAbstractButton::clicked, this, [this, i] {
            goTo(i);
            refreshDots(); // a click on the current dot must not uncheck it
        });
        dotsRow->addWidget(dot);
        m_dots.append(dot);
    }
    dotsRow->addStretch();
    column->addLayout(dotsRow);
}

QWidget* OKRootView::buildFooter() {
    auto* footer = new QWidget(this);
    auto* column = new QVBoxLayout(footer);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    m_waitingRow = new QWidget(footer);
    auto* waiting = new QHBoxLayout(m_waitingRow);
    waiting->setContentsMargins(0, 0, 0, 0);
    m_waitingDots = new QLabel(QString(QChar(0x2022)), m_waitingRow);
    m_waitingDots->setFixedWidth(24);
    QPalette accent = m_waitingDots->palette();
    accent.setColor(QPalette::WindowText, PillTheme::accent());
    m_waitingDots->setPalette(accent);
    QFont large = m_waitingDots->font();
    large.setBold(true);
    m_waitingDots->setFont(large);
    m_waitingText = new QLabel(m_waitingRow);
    m_waitingText->setWordWrap(true);
    waiting->addWidget(m_waitingDots, 0, Qt::AlignTop);
    waiting->addWidget(m_waitingText, 1);
    column->addWidget(m_waitingRow);

    m_later = new GTPillButton(
        QString(), false, [this] { advance(); }, footer);
    m_primary = new GTPillButton(
        QString(), true, [this] { runPrimary(); }, footer);
    m_secondary = new OKLinkButton(footer);
    connect(m_secondary, &QAbstractButton::clicked, this, &OKRootView::runSecondary);
    column->addLayout(centred(m_later));
    column->addLayout(centred(m_primary));
    column->addWidget(m_secondary);
    return footer;
}

QWidget* OKRootView::page() const {
    return m_scroll->widget();
}

bool OKRootView::waitingForGrant() const {
    const OKStep& step = current();
    return step.kind == OKStep::Kind::Permissions && !m_grantedOnArrival && step.requiredGranted &&
           !step.requiredGranted();
}

void OKRootView::advance() {
    if (m_index >= count() - 1) {
        if (onFinish)
            onFinish();
        return;
    }
    goTo(m_index + 1);
}

void OKRootView::goBack() {
    goTo(m_index - 1);
}

void OKRootView::goTo(int index) {
    index = std::clamp(index, 0, count() - 1);
    if (index == m_index)
        return;
    m_index = index;
    arrive();
    fadeIn(page());
}

void OKRootView::arrive() {
    const OKStep& step = current();
    if (step.kind == OKStep::Kind::Permissions)
        m_grantedOnArrival = step.requiredGranted ? step.requiredGranted() : true;
    else
        m_grantedOnArrival = false;
    m_lastGranted = step.requiredGranted && step.requiredGranted();
    buildPage();
    refreshFooter();
    refreshDots();
    measure();
    // Keyboard users carry on where the page's own action is.
    if (!m_primary->isHidden())
        m_primary->setFocus(Qt::OtherFocusReason);
    Q_EMIT pageChanged(m_index);
}

void OKRootView::relabel() {
    buildPage();
    refreshFooter();
    refreshDots();
    measure();
}

void OKRootView::buildPage() {
    const OKStep& step = current();
    QWidget* body = step.content ? step.content() : new QWidget;
    body->setAutoFillBackground(false);
    delete m_scroll->takeWidget();
    m_scroll->setWidget(body);
}

void OKRootView::refreshFooter() {
    const OKStep& step = current();
    const bool waiting = waitingForGrant();
    m_lastWaiting = waiting;
    m_back->setTitleText(textOf(m_strings.back));
    m_back->setVisible(m_index >= 1);

    m_waitingText->setText(textOf(m_strings.waiting));
    m_waitingRow->setVisible(waiting);
    m_later->setTitleText(textOf(m_strings.later));
    m_later->setVisible(waiting && step.skippable);
    waiting ? m_waitingTimer.start() : m_waitingTimer.stop();

    QString primary = textOf(step.primaryTitle);
    if (primary.isEmpty())
        primary = textOf(step.kind == OKStep::Kind::Consent ? m_strings.startTitle
                                                            : m_strings.continueTitle);
    m_primary->setTitleText(primary);
    m_primary->setVisible(!waiting);
    const QString secondary = textOf(step.secondaryTitle);
    m_secondary->setText(secondary);
    m_secondary->setVisible(!waiting && !secondary.isEmpty());
}

void OKRootView::refreshDots() {
    for (int i = 0; i < m_dots.size(); ++i) {
        m_dots[i]->setChecked(i == m_index);
        m_dots[i]->setAccessibleName(m_strings.pageName ? m_strings.pageName(i + 1)
                                                        : QString::number(i + 1));
    }
}

void OKRootView::measure() {
    QWidget* body = page();
    const QMargins margins = layout()->contentsMargins();
    const int bodyWidth = viewWidth - margins.left() - margins.right();
    body->ensurePolished();
    m_contentHeight = std::max(body->hasHeightForWidth() ? body->heightForWidth(bodyWidth)
                                                         : body->sizeHint().height(),
                               body->minimumHeight());

    m_footer->layout()->invalidate();
    const int footer = m_footer->hasHeightForWidth() ? m_footer->heightForWidth(bodyWidth)
                                                     : m_footer->sizeHint().height();
    const int spacing = layout()->spacing();
    m_footerHeight = margins.top() + margins.bottom() + 3 * spacing + m_back->sizeHint().height() +
                     footer + m_dots.first()->sizeHint().height();

    const int space = std::max(m_maxContentHeight - m_footerHeight, minContentSpace);
    m_scrolls = m_contentHeight > space;
    m_scroll->setVerticalScrollBarPolicy(m_scrolls ? Qt::ScrollBarAsNeeded
                                                   : Qt::ScrollBarAlwaysOff);
    const int shown = m_scrolls ? space : m_contentHeight;
    m_scroll->setFixedHeight(shown);
    const int height = shown + m_footerHeight;
    if (height == m_measuredHeight)
        return;
    m_measuredHeight = height;
    setFixedHeight(height);
    if (onHeight)
        onHeight(height);
}

void OKRootView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    measure(); // fonts and styles are final only now
}

void OKRootView::onTick() {
    const OKStep& step = current();
    if (step.kind != OKStep::Kind::Permissions)
        return;
    ++m_tick;
    const bool granted = step.requiredGranted ? step.requiredGranted() : true;
    if (granted && !m_pinned && !m_grantedOnArrival && step.requiredGranted) {
        advance();
        return;
    }
    // A pinned page, or one the user came back to, shows the new state where it is.
    if (granted != m_lastGranted) {
        m_lastGranted = granted;
        buildPage();
    }
    if (waitingForGrant() != m_lastWaiting) {
        refreshFooter();
        measure();
    }
}

void OKRootView::runPrimary() {
    const OKStep& step = current();
    if (!step.primaryAction || step.primaryAction())
        advance();
}

void OKRootView::runSecondary() {
    const OKStep& step = current();
    if (!step.secondaryAction || step.secondaryAction())
        advance();
}

// A short ease-in-out fade marks the change of page.
void OKRootView::fadeIn(QWidget* body) {
    if (m_fade)
        m_fade->stop();
    auto* effect = new QGraphicsOpacityEffect(body);
    effect->setOpacity(0.3);
    body->setGraphicsEffect(effect);
    m_fade = new QVariantAnimation(this);
    m_fade->setDuration(pageChangeMs);
    m_fade->setEasingCurve(QEasingCurve::InOutQuad);
    m_fade->setStartValue(0.3);
    m_fade->setEndValue(1.0);
    QPointer<QWidget> target(body);
    connect(m_fade, &QVariantAnimation::valueChanged, body,
            [effect](const QVariant& value) { effect->setOpacity(value.toDouble()); });
    connect(m_fade, &QVariantAnimation::finished, this, [this, target] {
        if (target)
            target->setGraphicsEffect(nullptr);
        m_fade = nullptr;
    });
    m_fade->start(QAbstractAnimation::DeleteWhenStopped);
}
