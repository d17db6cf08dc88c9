#include "ui/GTDropdown.h"

#include <QKeyEvent>
#include <QMenu>

GTDropdown::GTDropdown(QWidget* parent) : PulldownPill(QString(), parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &GTDropdown::openMenu);
}

void GTDropdown::setOptions(const QList<Option>& options) {
    m_options = options;
    setLabel(titleFor(m_selection));
}

void GTDropdown::setSelection(const QVariant& value) {
    m_selection = value;
    setLabel(titleFor(value));
}

QString GTDropdown::titleFor(const QVariant& value) const {
    for (const Option& option : m_options) {
        if (option.value == value)
            return option.title;
    }
    return {};
}

int GTDropdown::selectedIndex() const {
    for (int i = 0; i < m_options.size(); ++i) {
        if (m_options[i].value == m_selection)
            return i;
    }
    return -1;
}

void GTDropdown::openMenu() {
    if (m_menu)
        m_menu->close();
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < m_options.size(); ++i) {
        QAction* item = menu->addAction(m_options[i].title);
        item->setCheckable(true);
        item->setChecked(m_options[i].value == m_selection);
        connect(item, &QAction::triggered, this, [this, i] { pick(i); });
    }
    menu->setMinimumWidth(width());
    m_menu = menu;
    menu->popup(mapToGlobal(QPoint(0, height() + 4)));
}

void GTDropdown::pick(int index) {
    if (index < 0 || index >= m_options.size())
        return;
    setSelection(m_options[index].value);
    Q_EMIT selectionPicked(m_options[index].value);
}

void GTDropdown::keyPressEvent(QKeyEvent* event) {
    // Up and Down step through the options without the menu, as a combo box does.
    const int current = selectedIndex();
    switch (event->key()) {
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier)
            openMenu();
        else
            pick(std::min(current + 1, int(m_options.size()) - 1));
        return;
    case Qt::Key_Up:
        pick(current < 0 ? 0 : std::max(current - 1, 0));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openMenu();
        return;
    default:
        PulldownPill::keyPressEvent(event);
    }
}
