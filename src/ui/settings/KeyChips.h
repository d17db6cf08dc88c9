#pragma once

#include <QKeySequence>
#include <QStringList>
#include <QWidget>

// A shortcut shown as a row of key caps ("Ctrl" "Shift" "2"), for display only.
class KeyChips : public QWidget {
    Q_OBJECT
public:
    explicit KeyChips(QWidget* parent = nullptr);

    void setKeys(const QStringList& keys);
    // The caps of a shortcut, named the way this desktop names keys in its own language.
    void setSequence(const QKeySequence& sequence);
    const QStringList& keys() const { return m_keys; }
    static QStringList keysOf(const QKeySequence& sequence);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int capWidth(const QString& key) const;

    QStringList m_keys;
    QKeySequence m_sequence;
};
