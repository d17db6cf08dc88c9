// Shows one real Qt window on the X server in DISPLAY (a pop-up menu with an item under
// the pointer, a dialog with a button row, a table, a toolbar), grabs it from the screen
// with the window manager's frame, and writes the texts it shows as lines, read from the
// widgets' geometry: what a person sees, row by row.
//
//   glintext-qt-windows KIND OUT.png TITLE FONT PX DARK TEXT...
//
// KIND menu: TEXT are items ("label<TAB>Ctrl+O"; the first starting with '*' is under the
// pointer). dialog: message, detail, then "label<TAB>value" rows, "[x] check" boxes and
// "(button)" buttons. table: the header ("a<TAB>b..."), then rows. toolbar: labels.
// The truth goes to OUT.txt.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct Text {
    QRect box;
    QString text;
};

// Lines of text from boxes: rows by vertical overlap, each left to right.
QString linesOf(QList<Text> texts) {
    std::sort(texts.begin(), texts.end(),
              [](const Text& a, const Text& b) { return a.box.center().y() < b.box.center().y(); });
    QList<QList<Text>> rows;
    for (const Text& t : texts) {
        if (t.text.trimmed().isEmpty())
            continue;
        if (!rows.isEmpty()) {
            const QRect& last = rows.last().first().box;
            const int overlap =
                std::min(last.bottom(), t.box.bottom()) - std::max(last.top(), t.box.top());
            if (overlap * 2 > std::min(last.height(), t.box.height())) {
                rows.last().append(t);
                continue;
            }
        }
        rows.append({t});
    }
    QStringList out;
    for (QList<Text>& row : rows) {
        std::sort(row.begin(), row.end(),
                  [](const Text& a, const Text& b) { return a.box.left() < b.box.left(); });
        QStringList parts;
        for (const Text& t : row)
            parts.append(t.text.simplified());
        out.append(parts.join(u' '));
    }
    return out.join(u'\n');
}

QRect global(const QWidget* w, const QRect& r) {
    return QRect(w->mapToGlobal(r.topLeft()), r.size());
}

// A line edit holding more than it is wide shows the end of its text, where setText() left
// the cursor; what scrolled out at the left is not on the screen. The text is clipped at the
// edge of the edit's contents; a glyph cut there counts when most of it shows (the cursor
// position nearest the edge).
QString shownText(QLineEdit* e) {
    QStyleOptionFrame option;
    option.initFrom(e);
    option.rect = e->rect();
    option.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, e);
    const QRect contents = e->style()->subElementRect(QStyle::SE_LineEditContents, &option, e);
    const int first = e->cursorPositionAt(QPoint(contents.left(), e->height() / 2));
    return e->text().mid(std::max(0, first));
}

// Every visible text-bearing widget below `root`.
QList<Text> textsOf(QWidget* root) {
    QList<Text> texts;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (!w->isVisible())
            continue;
        const QRect box = global(w, w->rect());
        if (auto* l = qobject_cast<QLabel*>(w))
            texts.append({box, l->text()});
        else if (auto* e = qobject_cast<QLineEdit*>(w))
            texts.append({box, shownText(e)});
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            texts.append({box, QString(b->text()).remove(u'&')});
        else if (auto* t = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < t->columnCount(); ++c) {
                const QHeaderView* h = t->horizontalHeader();
                texts.append({QRect(h->mapToGlobal(QPoint(h->sectionViewportPosition(c), 0)),
                                    QSize(h->sectionSize(c), h->height())),
                              t->horizontalHeaderItem(c)->text()});
            }
            for (int r = 0; r < t->rowCount(); ++r)
                for (int c = 0; c < t->columnCount(); ++c)
                    texts.append({global(t->viewport(), t->visualItemRect(t->item(r, c))),
                                  t->item(r, c)->text()});
        }
    }
    return texts;
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::WindowText, QColor(225, 225, 225));
    p.setColor(QPalette::Base, QColor(32, 32, 34));
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
    p.setColor(QPalette::Text, QColor(220, 220, 220));
    p.setColor(QPalette::Button, QColor(58, 58, 62));
    p.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    p.setColor(QPalette::Highlight, QColor(53, 132, 228));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

QWidget* dialog(const QString& title, const QStringList& texts) {
    auto* d = new QDialog;
    d->setWindowTitle(title);
    auto* layout = new QVBoxLayout(d);
    auto* message = new QLabel(texts.value(0));
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    layout->addWidget(message);
    layout->addWidget(new QLabel(texts.value(1)));
    auto* form = new QFormLayout;
    auto* buttons = new QDialogButtonBox;
    for (const QString& t : texts.mid(2)) {
        if (t.startsWith(u"[x] ")) {
            auto* box = new QCheckBox(t.mid(4));
            box->setChecked(t.size() % 2);
            layout->addWidget(box);
        } else if (t.startsWith(u'(') && t.endsWith(u')')) {
            buttons->addButton(t.mid(1, t.size() - 2), buttons->buttons().isEmpty()
                                                           ? QDialogButtonBox::RejectRole
                                                           : QDialogButtonBox::AcceptRole);
        } else {
            form->addRow(t.section(u'\t', 0, 0), new QLineEdit(t.section(u'\t', 1)));
        }
    }
    layout->insertLayout(2, form);
    layout->addSpacing(12);
    layout->addWidget(buttons);
    return d;
}

QWidget* table(const QString& title, const QStringList& texts) {
    const QStringList header = texts.value(0).split(u'\t');
    auto* t = new QTableWidget(int(texts.size()) - 1, int(header.size()));
    t->setWindowTitle(title);
    t->setHorizontalHeaderLabels(header);
    t->verticalHeader()->hide();
    for (int r = 1; r < texts.size(); ++r) {
        const QStringList cells = texts[r].split(u'\t');
        for (int c = 0; c < header.size(); ++c)
            t->setItem(r - 1, c, new QTableWidgetItem(cells.value(c)));
    }
    t->resizeColumnsToContents();
    int width = t->frameWidth() * 2;
    for (int c = 0; c < header.size(); ++c)
        width += t->columnWidth(c);
    t->resize(width + 2, t->horizontalHeader()->height() + t->rowHeight(0) * t->rowCount() + 6);
    return t;
}

QWidget* toolbar(const QString& title, const QStringList& texts) {
    auto* w = new QMainWindow;
    w->setWindowTitle(title);
    auto* bar = w->addToolBar(title);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const QList<QStyle::StandardPixmap> icons{
        QStyle::SP_DialogOpenButton, QStyle::SP_DialogSaveButton,    QStyle::SP_BrowserReload,
        QStyle::SP_TrashIcon,        QStyle::SP_FileDialogNewFolder, QStyle::SP_ArrowBack};
    for (int i = 0; i < texts.size(); ++i)
        bar->addAction(w->style()->standardIcon(icons[i % icons.size()]), texts[i]);
    w->setCentralWidget(new QWidget);
    w->resize(bar->sizeHint().width() + 20, bar->sizeHint().height() + 30);
    return w;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 7)
        return 2;
    const QString kind = argv[1];
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString title = QString::fromUtf8(argv[3]);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (QByteArray(argv[6]) == "1")
        QApplication::setPalette(darkPalette());
    QFont font(QString::fromUtf8(argv[4]));
    font.setPixelSize(QByteArray(argv[5]).toInt());
    QApplication::setFont(font);
    QStringList texts;
    for (int i = 7; i < argc; ++i)
        texts.append(QString::fromUtf8(argv[i]));

    QWidget* shown = nullptr;
    QMenu* menu = nullptr;
    if (kind == u"menu") {
        menu = new QMenu;
        QAction* active = nullptr;
        for (QString t : texts) {
            if (t == u"-") {
                menu->addSeparator();
                continue;
            }
            const bool hot = t.startsWith(u'*');
            if (hot)
                t = t.mid(1);
            QAction* a = menu->addAction(t.section(u'\t', 0, 0));
            if (!t.section(u'\t', 1).isEmpty())
                a->setShortcut(QKeySequence(t.section(u'\t', 1)));
            if (hot)
                active = a;
        }
        menu->popup(QPoint(40, 40));
        if (active)
            menu->setActiveAction(active);
        shown = menu;
    } else {
        shown = kind == u"dialog"  ? dialog(title, texts)
                : kind == u"table" ? table(title, texts)
                                   : toolbar(title, texts);
        shown->move(40, 40);
        shown->show();
    }
    QTimer::singleShot(900, [&] {
        // The frame the window manager drew (title bar included) for windows; a little of
        // the desktop around a menu.
        const QRect frame =
            menu ? shown->geometry().adjusted(-8, -8, 8, 8) : shown->frameGeometry();
        QScreen* screen = QGuiApplication::primaryScreen();
        const qreal dpr = screen->devicePixelRatio();
        screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(out);
        QList<Text> found;
        if (menu) {
            for (QAction* a : menu->actions()) {
                if (a->isSeparator())
                    continue;
                QString text = a->text();
                if (!a->shortcut().isEmpty())
                    text += u' ' + a->shortcut().toString(QKeySequence::NativeText);
                found.append({global(menu, menu->actionGeometry(a)), text});
            }
        } else {
            found = textsOf(shown);
            // The frame's title, above everything else.
            found.prepend({QRect(frame.topLeft(), QSize(frame.width(), 1)), title});
        }
        (void)dpr;
        QFile truth(out.left(out.size() - 4) + QStringLiteral(".txt"));
        truth.open(QIODevice::WriteOnly | QIODevice::Truncate);
        truth.write(linesOf(found).toUtf8() + "\n");
        QApplication::quit();
    });
    return app.exec();
}
