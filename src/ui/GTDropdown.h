#pragma once

#include "ui/PulldownPill.h"

#include <QList>
#include <QMenu>
#include <QPointer>
#include <QVariant>

// A drop-down of (value, title) options on a pulldown pill. The pill shows the title of the
// current selection (empty when no option has that value); a click opens a menu just under
// the pill with a check mark on the current value. Choosing an option writes its value
// through `selectionPicked`, even when it is the value already selected.
class GTDropdown : public PulldownPill {
    Q_OBJECT
public:
    struct Option {
        QVariant value;
        QString title;
    };

    explicit GTDropdown(QWidget* parent = nullptr);

    void setOptions(const QList<Option>& options);
    const QList<Option>& options() const { return m_options; }
    // Follows a change made elsewhere: relabels the pill, writes nothing.
    void setSelection(const QVariant& value);
    QVariant selection() const { return m_selection; }
    // Title of the first option with the value, empty when none has it.
    QString titleFor(const QVariant& value) const;

    // Opens the menu (what a click or Space/Enter/Alt+Down does); the open menu, if any.
    void openMenu();
    QMenu* menu() const { return m_menu; }
    // Chooses the option at `index` as the menu does.
    void pick(int index);

Q_SIGNALS:
    void selectionPicked(const QVariant& value);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int selectedIndex() const;

    QList<Option> m_options;
    QVariant m_selection;
    QPointer<QMenu> m_menu;
};
