// Renders the recognition benchmark corpus: screen-like crops drawn with the installed
// fonts, each with its ground truth. Deterministic for a given seed.
//
//   glintext-corpus OUTDIR
//   glintext-corpus --code qr|code128 PAYLOAD OUT.png   (one code, a pixel per module)
//
// Writes OUTDIR/<name>.png, OUTDIR/<name>.txt (the expected text) and OUTDIR/manifest.tsv
// with one line per image: name, category, LANGUAGE value, tesseract -l value, and the
// expected code payloads separated by U+001F.

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextStream>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <cstdio>

namespace {

struct Theme {
    QColor background, text, dim, accent;
};

const Theme light{QColor(0xff, 0xff, 0xff), QColor(0x1e, 0x1e, 0x1e), QColor(0x6a, 0x6a, 0x6a),
                  QColor(0x1a, 0x5f, 0xb4)};
const Theme dark{QColor(0x24, 0x24, 0x28), QColor(0xe8, 0xe8, 0xe8), QColor(0x9a, 0x9a, 0xa0),
                 QColor(0x78, 0xae, 0xed)};

const QStringList sansFonts{"DejaVu Sans", "Liberation Sans", "Noto Sans"};
const QStringList serifFonts{"DejaVu Serif", "Liberation Serif", "Noto Serif"};
const QStringList monoFonts{"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono"};

const QStringList menuWords{"New Window",
                            "Open File...",
                            "Open Recent",
                            "Save",
                            "Save As...",
                            "Export as PDF",
                            "Print...",
                            "Close Tab",
                            "Undo Typing",
                            "Redo",
                            "Cut",
                            "Copy",
                            "Paste",
                            "Select All",
                            "Find and Replace",
                            "Go to Line...",
                            "Preferences",
                            "Show Sidebar",
                            "Zoom In",
                            "Zoom Out",
                            "Reset Zoom",
                            "Toggle Full Screen",
                            "Developer Tools",
                            "Reload Page",
                            "Bookmarks",
                            "History",
                            "Downloads",
                            "Extensions",
                            "Settings",
                            "Help",
                            "About",
                            "Check for Updates",
                            "Sign Out",
                            "Switch Account",
                            "Keyboard Shortcuts",
                            "Report a Bug",
                            "Move to Trash",
                            "Rename...",
                            "Duplicate",
                            "Compress 3 Items",
                            "Get Info",
                            "Share...",
                            "Quick Look",
                            "Sort By Name",
                            "Show Hidden Files",
                            "Network",
                            "Bluetooth",
                            "Display"};
const QStringList shortcuts{"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+P",
                            "Ctrl+W", "Ctrl+Z", "Ctrl+Y", "Ctrl+X",       "Ctrl+C",
                            "Ctrl+V", "Ctrl+A", "Ctrl+H", "Ctrl+G",       "Ctrl+,",
                            "F11",    "F12",    "Ctrl+R", "Alt+F4"};

const QStringList proseSentences{
    "The quick brown fox jumps over the lazy dog near the riverbank.",
    "Screen text is small, anti-aliased and often drawn light on dark.",
    "Our release notes list every change made since version 2.4.1 in March.",
    "Please confirm your email address within 24 hours to keep your account.",
    "A warm engine pool avoids loading the language model for every request.",
    "Meeting moved to Thursday at 10:30; bring the quarterly budget figures.",
    "Shipping is free for orders over $50, and returns are accepted for 30 days.",
    "The committee reviewed 17 proposals and approved four of them unanimously.",
    "Temperatures will drop to -5 degrees overnight with light snow expected.",
    "Install the update, then restart the application to finish the process.",
    "He paid the invoice (No. 4471-B) on the first working day of the month.",
    "Most readers skim headlines and only rarely open the full article.",
    "Backups run nightly at 02:00 and are kept for ninety days by default.",
    "Her thesis compares rail networks in twelve European capitals.",
    "Click the gear icon in the upper right corner to open the settings.",
    "Prices include VAT where applicable and may change without notice.",
    "The museum opens at nine, closes at five, and is free on Sundays.",
    "Every pull request needs two approvals before it can be merged.",
    "Your subscription renews automatically on 12 June unless cancelled.",
    "Tap and hold a message to reply, forward, pin or delete it."};

const QStringList germanSentences{
    "Die Besprechung wurde auf Donnerstag um zehn Uhr verschoben.",
    "Bitte bestätigen Sie Ihre E-Mail-Adresse innerhalb von 24 Stunden.",
    "Größere Änderungen werden in den Versionshinweisen beschrieben.",
    "Der Zug nach München fährt heute ausnahmsweise von Gleis 7 ab."};

const QStringList japaneseSentences{"今日は天気がとても良いので公園を散歩しました",
                                    "新しい機能は次のバージョンで追加される予定です",
                                    "会議の資料は共有フォルダに保存してください",
                                    "東京駅から新幹線に乗って大阪へ向かいます",
                                    "この設定を変更するには管理者の権限が必要です",
                                    "本日の営業時間は午前十時から午後七時までです",
                                    "画面の文字を選択するとクリップボードにコピーされます",
                                    "春になると川沿いの桜並木がきれいに咲きます"};

const QStringList chineseSentences{
    "今天天气很好我们去公园散步吧",   "请在二十四小时内确认您的电子邮件地址",
    "新版本将在下个月正式发布",       "会议资料已经上传到共享文件夹",
    "点击右上角的齿轮图标打开设置",   "这家餐厅的菜很好吃价格也不贵",
    "火车将于上午九点从北京南站出发", "请保存好您的订单号以便查询"};

const QStringList koreanSentences{
    "오늘은 날씨가 좋아서 공원에 갔습니다",      "새 버전은 다음 달에 출시될 예정입니다",
    "회의 자료를 공유 폴더에 저장해 주세요",     "설정을 변경하려면 관리자 권한이 필요합니다",
    "이 식당은 음식이 맛있고 가격도 저렴합니다", "기차는 오전 아홉 시에 서울역에서 출발합니다"};

const QStringList codeLines{"#include <vector>",
                            "",
                            "int main(int argc, char** argv) {",
                            "    std::vector<int> values{3, 1, 4, 1, 5};",
                            "    for (int v : values)",
                            "        total += v * 2;",
                            "    if (total > 42) {",
                            "        printf(\"total=%d\\n\", total);",
                            "    }",
                            "    return total % 7;",
                            "}",
                            "def parse(line: str) -> dict:",
                            "    key, _, value = line.partition('=')",
                            "    return {key.strip(): value.strip()}",
                            "const url = `${base}/api/v2/items?id=${id}`;",
                            "let result = items.filter(x => x.done).map(x => x.name);"};

const QStringList terminalLines{"user@host:~/src/project$ ls -la",
                                "total 48",
                                "drwxr-xr-x  5 user user 4096 Mar  3 10:14 .",
                                "drwxr-xr-x 12 user user 4096 Mar  1 09:02 ..",
                                "-rw-r--r--  1 user user  220 Feb 28 17:45 .bashrc",
                                "-rw-r--r--  1 user user 1843 Mar  3 10:14 CMakeLists.txt",
                                "drwxr-xr-x  2 user user 4096 Mar  2 16:30 src",
                                "user@host:~/src/project$ git status --short",
                                " M src/main.cpp",
                                "?? notes.txt",
                                "user@host:~/src/project$ make -j2",
                                "[ 50%] Building CXX object src/CMakeFiles/app.dir/main.cpp.o",
                                "[100%] Linking CXX executable app",
                                "user@host:~/src/project$ ping -c 1 10.0.0.1",
                                "64 bytes from 10.0.0.1: icmp_seq=1 ttl=64 time=0.412 ms"};

const QStringList firstNames{"Alice", "Bruno", "Chen",  "Dana", "Erik", "Fatima", "Georg",
                             "Hana",  "Ivan",  "Julia", "Kofi", "Lena", "Marco",  "Nina"};
const QStringList cities{"Berlin", "Lisbon", "Osaka", "Toronto", "Nairobi", "Lima",
                         "Oslo",   "Madrid", "Seoul", "Dublin",  "Austin",  "Porto"};
const QStringList statuses{"Active", "Pending", "Closed", "On hold", "Shipped", "Draft"};

struct Item {
    QString name;
    QString category;
    QString language; // LANGUAGE for our engine
    QString tessLang; // -l for plain tesseract
    QImage image;
    QString truth;
    QStringList codes;
    // For layouts in columns: which column each line of the truth is in (0 for a headline
    // across them), written beside the image as NAME.columns.
    QList<int> lineColumns;
};

QRandomGenerator rng(20261208);

template <typename T> const T& pick(const QList<T>& list) {
    return list[rng.bounded(int(list.size()))];
}

QFont font(const QString& family, int pixelSize, bool bold = false) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QImage canvas(int w, int h, const QColor& bg) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(bg);
    return img;
}

// A menu or list of items with optional right-aligned shortcuts, separators and icons.
Item uiList(const Theme& theme, const QString& family, int px, int scale, bool darkName) {
    Item item;
    item.category = darkName ? "ui-dark" : "ui-light";
    item.language = "en";
    item.tessLang = "eng";
    const int n = 6 + rng.bounded(5);
    const int s = px * scale;
    const int rowH = int(s * 1.9);
    const int w = (220 + rng.bounded(120)) * scale;
    const int h = rowH * n + 12 * scale;
    item.image = canvas(w, h, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    const QFont f = font(family, s);
    p.setFont(f);
    const QFontMetrics fm(f);
    QStringList lines;
    QStringList used;
    int y = 6 * scale;
    const bool icons = rng.bounded(2) == 0;
    const int highlighted = rng.bounded(n);
    for (int i = 0; i < n; ++i) {
        QString label;
        do {
            label = pick(menuWords);
        } while (used.contains(label));
        used.append(label);
        const bool hasShortcut = rng.bounded(3) != 0;
        const QString shortcut = hasShortcut ? pick(shortcuts) : QString();
        const QRect row(0, y, w, rowH);
        QColor fg = theme.text;
        if (i == highlighted) {
            p.fillRect(row.adjusted(4 * scale, 1, -4 * scale, -1), theme.accent);
            fg = QColor(Qt::white);
        }
        int x = 12 * scale;
        if (icons) {
            p.setPen(Qt::NoPen);
            p.setBrush(i == highlighted ? QColor(Qt::white) : theme.dim);
            p.drawRoundedRect(QRectF(x, y + rowH / 2.0 - s / 2.0, s, s), 2 * scale, 2 * scale);
            x += s + 10 * scale;
        }
        p.setPen(fg);
        p.drawText(QRect(x, y, w, rowH), Qt::AlignVCenter | Qt::AlignLeft, label);
        QString line = label;
        if (hasShortcut) {
            p.setPen(i == highlighted ? QColor(Qt::white) : theme.dim);
            p.drawText(QRect(0, y, w - 14 * scale, rowH), Qt::AlignVCenter | Qt::AlignRight,
                       shortcut);
            line += " " + shortcut;
        }
        lines.append(line);
        y += rowH;
    }
    item.truth = lines.join('\n');
    return item;
}

// A toolbar: a row of buttons with labels, like a browser's or an editor's.
Item toolbar(const Theme& theme, const QString& family, int px, int scale, bool darkName) {
    Item item;
    item.category = darkName ? "ui-dark" : "ui-light";
    item.language = "en";
    item.tessLang = "eng";
    const int s = px * scale;
    const int n = 4 + rng.bounded(3);
    QStringList labels;
    while (labels.size() < n) {
        const QString l = pick(menuWords);
        if (!labels.contains(l))
            labels.append(l);
    }
    const QFont f = font(family, s);
    const QFontMetrics fm(f);
    int w = 10 * scale;
    for (const QString& l : labels)
        w += fm.horizontalAdvance(l) + 30 * scale;
    const int h = s * 3;
    item.image = canvas(w, h, theme.background.darker(darkName ? 80 : 104));
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(f);
    int x = 10 * scale;
    for (const QString& l : labels) {
        const int bw = fm.horizontalAdvance(l) + 20 * scale;
        p.setPen(theme.dim);
        p.setBrush(theme.background);
        p.drawRoundedRect(QRectF(x, s * 0.5, bw, s * 2), 4 * scale, 4 * scale);
        p.setPen(theme.text);
        p.drawText(QRect(x, 0, bw, h), Qt::AlignCenter, l);
        x += bw + 10 * scale;
    }
    item.truth = labels.join(' ');
    return item;
}

// Word-wrapped prose in a box; returns the lines drawn.
QStringList drawParagraphs(QPainter& p, const QRect& box, const QStringList& sentences,
                           int lineHeight) {
    const QFontMetrics fm(p.font());
    QStringList lines;
    QString current;
    const QString text = sentences.join(' ');
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString candidate = current.isEmpty() ? word : current + ' ' + word;
        if (fm.horizontalAdvance(candidate) > box.width() && !current.isEmpty()) {
            lines.append(current);
            current = word;
        } else {
            current = candidate;
        }
    }
    if (!current.isEmpty())
        lines.append(current);
    int y = box.top();
    QStringList drawn;
    for (const QString& line : lines) {
        if (y + lineHeight > box.bottom())
            break;
        p.drawText(QRect(box.left(), y, box.width() + 50, lineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, line);
        drawn.append(line);
        y += lineHeight;
    }
    return drawn;
}

QStringList someSentences(const QStringList& pool, int n) {
    QStringList out;
    n = std::min(n, int(pool.size()));
    while (out.size() < n) {
        const QString s = pick(pool);
        if (!out.contains(s))
            out.append(s);
    }
    return out;
}

Item paragraph(const Theme& theme, const QString& family, int px, int scale, int w, int h,
               const QString& category, const QStringList& pool = proseSentences,
               const QString& lang = "en", const QString& tessLang = "eng") {
    Item item;
    item.category = category;
    item.language = lang;
    item.tessLang = tessLang;
    const int s = px * scale;
    item.image = canvas(w * scale, h * scale, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font(family, s));
    p.setPen(theme.text);
    const QRect box(16 * scale, 12 * scale, w * scale - 32 * scale, h * scale - 20 * scale);
    item.truth = drawParagraphs(p, box, someSentences(pool, 6), int(s * 1.5)).join('\n');
    return item;
}

Item fiveLines(const QString& family) {
    Item item;
    item.category = "lines5";
    item.language = "en";
    item.tessLang = "eng";
    item.image = canvas(1200, 400, light.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font(family, 14));
    p.setPen(light.text);
    QStringList lines;
    for (int i = 0; i < 5; ++i) {
        const QString line = someSentences(proseSentences, 2).join(' ');
        p.drawText(QRect(40, 60 + i * 60, 1140, 30), Qt::AlignLeft | Qt::AlignVCenter, line);
        lines.append(line);
    }
    item.truth = lines.join('\n');
    return item;
}

Item twoColumns(const Theme& theme, const QString& family, int px, int scale) {
    Item item;
    item.category = "columns";
    item.language = "en";
    item.tessLang = "eng";
    const int s = px * scale;
    const int colW = 300 * scale;
    const int gap = 36 * scale;
    const int h = 260 * scale;
    item.image = canvas(2 * colW + gap + 32 * scale, h, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font(family, s));
    p.setPen(theme.text);
    const QStringList left = drawParagraphs(p, QRect(16 * scale, 12 * scale, colW, h - 24 * scale),
                                            someSentences(proseSentences, 6), int(s * 1.45));
    const QStringList right =
        drawParagraphs(p, QRect(16 * scale + colW + gap, 12 * scale, colW, h - 24 * scale),
                       someSentences(proseSentences, 6), int(s * 1.45));
    item.truth = (left + right).join('\n');
    item.lineColumns = QList<int>(left.size(), 1) + QList<int>(right.size(), 2);
    return item;
}

// Held out for the service's column finding, never tuned on: part of an article as a user
// would select it, with a headline across the columns or without, two or three columns of a
// few lines each, and a paragraph break that puts the columns' lines out of step.
Item columnPage(const Theme& theme, const QString& family, int px, int scale, int columns,
                int lines, bool headline, bool paragraphBreak) {
    Item item;
    item.category = "columns-page";
    item.language = "en";
    item.tessLang = "eng";
    const int s = px * scale;
    const int colW = (columns == 3 ? 230 : 300) * scale;
    const int gap = (22 + rng.bounded(20)) * scale;
    const int margin = 14 * scale;
    const int lineH = int(s * 1.45);
    const int headH = headline ? int(s * 2.4) : 0;
    const int breakH = paragraphBreak ? lineH / 2 + 2 * scale : 0;
    const int w = 2 * margin + columns * colW + (columns - 1) * gap;
    const int h = 2 * margin + headH + lines * lineH + breakH;
    item.image = canvas(w, h, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(theme.text);
    QStringList truth;
    if (headline) {
        p.setFont(font(family, int(s * 1.5), true));
        const QFontMetrics fm(p.font());
        QString title;
        for (const QString& word : pick(proseSentences).split(' ')) {
            const QString longer = title.isEmpty() ? word : title + ' ' + word;
            if (fm.horizontalAdvance(longer) > w - 2 * margin)
                break;
            title = longer;
        }
        if (title.endsWith('.'))
            title.chop(1);
        p.drawText(QRect(margin, margin, w - 2 * margin, headH), Qt::AlignLeft | Qt::AlignTop,
                   title);
        truth.append(title);
        item.lineColumns.append(0);
    }
    p.setFont(font(family, s));
    for (int c = 0; c < columns; ++c) {
        const int left = margin + c * (colW + gap);
        const int top = margin + headH;
        // The break falls after a different line in each column.
        const int first = paragraphBreak ? 1 + (c + lines / 2) % (lines - 1) : lines;
        QStringList column = drawParagraphs(p, QRect(left, top, colW, first * lineH + 1),
                                            someSentences(proseSentences, 4), lineH);
        if (first < lines)
            column += drawParagraphs(
                p, QRect(left, top + first * lineH + breakH, colW, (lines - first) * lineH + 1),
                someSentences(proseSentences, 4), lineH);
        truth += column;
        item.lineColumns += QList<int>(column.size(), c + 1);
    }
    item.truth = truth.join('\n');
    return item;
}

Item codeBlock(const Theme& theme, const QString& family, int px, int scale, bool terminal) {
    Item item;
    item.category = terminal ? "terminal" : "code";
    item.language = "en";
    item.tessLang = "eng";
    const int s = px * scale;
    const QStringList& pool = terminal ? terminalLines : codeLines;
    const int n = 6 + rng.bounded(4);
    const int start = rng.bounded(int(pool.size()) - n + 1);
    const QStringList lines = pool.mid(start, n);
    const QFont f = font(family, s);
    const QFontMetrics fm(f);
    int w = 0;
    for (const QString& l : lines)
        w = std::max(w, fm.horizontalAdvance(l));
    const int lineH = int(s * 1.35);
    item.image = canvas(w + 40 * scale, lineH * n + 24 * scale, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(f);
    int y = 12 * scale;
    const QColor keyword = terminal ? QColor(0x8a, 0xe2, 0x34) : theme.accent;
    for (const QString& l : lines) {
        // A little syntax colour: the first word of each line in another colour.
        const qsizetype firstSpace = l.indexOf(' ', l.size() - l.trimmed().size() + 1);
        const QString head = firstSpace > 0 ? l.left(firstSpace) : l;
        const QString tail = firstSpace > 0 ? l.mid(firstSpace) : QString();
        p.setPen(keyword);
        p.drawText(20 * scale, y + fm.ascent(), head);
        p.setPen(theme.text);
        p.drawText(20 * scale + fm.horizontalAdvance(head), y + fm.ascent(), tail);
        y += lineH;
    }
    QStringList truth;
    for (const QString& l : lines)
        truth.append(l);
    item.truth = truth.join('\n');
    return item;
}

Item table(const Theme& theme, const QString& family, int px, int scale) {
    Item item;
    item.category = "table";
    item.language = "en";
    item.tessLang = "eng";
    const int s = px * scale;
    const QStringList header{"Name", "City", "Orders", "Total", "Status"};
    const int rows = 5 + rng.bounded(4);
    QList<QStringList> cells{header};
    for (int r = 0; r < rows; ++r) {
        cells.append({pick(firstNames), pick(cities), QString::number(1 + rng.bounded(240)),
                      QString::asprintf("%d.%02d", rng.bounded(9000), rng.bounded(100)),
                      pick(statuses)});
    }
    const QFont f = font(family, s);
    const QFont bold = font(family, s, true);
    const QFontMetrics fm(bold);
    QList<int> widths(header.size(), 0);
    for (const QStringList& row : cells)
        for (int c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], fm.horizontalAdvance(row[c]) + 28 * scale);
    int w = 0;
    for (int cw : widths)
        w += cw;
    const int rowH = int(s * 2.0);
    item.image = canvas(w + 2, rowH * int(cells.size()) + 2, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool grid = rng.bounded(2) == 0;
    QStringList truth;
    for (int r = 0; r < cells.size(); ++r) {
        int x = 0;
        const int y = r * rowH;
        if (r % 2 == 1 && !grid)
            p.fillRect(0, y, w, rowH,
                       theme.background.darker(theme.background.lightness() > 128 ? 106 : 70));
        p.setFont(r == 0 ? bold : f);
        for (int c = 0; c < cells[r].size(); ++c) {
            p.setPen(theme.text);
            const bool numeric = c == 2 || c == 3;
            p.drawText(QRect(x + 14 * scale, y, widths[c] - 28 * scale, rowH),
                       Qt::AlignVCenter | (numeric ? Qt::AlignRight : Qt::AlignLeft), cells[r][c]);
            if (grid) {
                p.setPen(theme.dim);
                p.drawRect(x, y, widths[c], rowH);
            }
            x += widths[c];
        }
        truth.append(cells[r].join(' '));
    }
    item.truth = truth.join('\n');
    return item;
}

Item lowContrast(const QString& family, int px, int scale, bool darkBg) {
    Item item = paragraph(light, family, px, scale, 520, 120, "low-contrast");
    // Redraw with low contrast colours: placeholder text, disabled items, watermarks.
    const QColor bg = darkBg ? QColor(0x3a, 0x3a, 0x3e) : QColor(0xe4, 0xe4, 0xe4);
    const QColor fg = darkBg ? QColor(0x86, 0x86, 0x8c) : QColor(0x98, 0x98, 0x98);
    item.image.fill(bg);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font(family, px * scale));
    p.setPen(fg);
    int y = 12 * scale;
    for (const QString& line : item.truth.split('\n')) {
        p.drawText(QRect(16 * scale, y, item.image.width(), int(px * scale * 1.5)),
                   Qt::AlignLeft | Qt::AlignVCenter, line);
        y += int(px * scale * 1.5);
    }
    return item;
}

// Japanese set in columns from right to left.
Item verticalJapanese(const Theme& theme, int px, int scale, const QString& family) {
    Item item;
    item.category = "vertical-ja";
    item.language = "ja";
    item.tessLang = "jpn_vert";
    const int s = px * scale;
    const int columns = 3 + rng.bounded(3);
    const QStringList sentences = someSentences(japaneseSentences, columns);
    int maxLen = 0;
    for (const QString& t : sentences)
        maxLen = std::max(maxLen, int(t.size()));
    const int colW = int(s * 1.7);
    const int w = colW * columns + 2 * s;
    const int h = s * (maxLen + 2);
    item.image = canvas(w, h, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font(family, s));
    p.setPen(theme.text);
    for (int c = 0; c < columns; ++c) {
        const int x = w - s - (c + 1) * colW + (colW - s) / 2;
        const QString& t = sentences[c];
        for (int i = 0; i < t.size(); ++i)
            p.drawText(QRect(x, s + i * s, s, s), Qt::AlignCenter, t.mid(i, 1));
    }
    item.truth = sentences.join('\n');
    return item;
}

Item cjkLines(const Theme& theme, int px, int scale, const QString& family, const QStringList& pool,
              const QString& category, const QString& lang, const QString& tessLang) {
    Item item;
    item.category = category;
    item.language = lang;
    item.tessLang = tessLang;
    const int s = px * scale;
    const int n = 3 + rng.bounded(3);
    const QStringList lines = someSentences(pool, n);
    const QFont f = font(family, s);
    const QFontMetrics fm(f);
    int w = 0;
    for (const QString& l : lines)
        w = std::max(w, fm.horizontalAdvance(l));
    const int lineH = int(s * 1.6);
    item.image = canvas(w + 32 * scale, lineH * n + 20 * scale, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(f);
    p.setPen(theme.text);
    for (int i = 0; i < n; ++i)
        p.drawText(QRect(16 * scale, 10 * scale + i * lineH, w + 10, lineH),
                   Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    item.truth = lines.join('\n');
    return item;
}

QImage codeImage(ZXing::BarcodeFormat format, const QString& payload, int module, const QColor& fg,
                 const QColor& bg) {
    const ZXing::MultiFormatWriter writer =
        ZXing::MultiFormatWriter(format).setMargin(format == ZXing::BarcodeFormat::QRCode ? 2 : 8);
    const bool linear = format != ZXing::BarcodeFormat::QRCode;
    const ZXing::BitMatrix bits = writer.encode(payload.toStdString(), 0, linear ? 40 : 0);
    QImage img(bits.width() * module, (linear ? 50 : bits.height()) * module, QImage::Format_RGB32);
    img.fill(bg);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (bits.get(x / module, linear ? 0 : y / module))
                img.setPixelColor(x, y, fg);
    return img;
}

// A code beside a caption, like a payment page or a sign-in screen.
Item codes(int variant) {
    Item item;
    item.category = "codes";
    item.language = "en";
    item.tessLang = "eng";
    const bool darkTheme = variant % 3 == 1;
    const Theme& theme = darkTheme ? dark : light;
    const int scale = variant % 2 == 0 ? 1 : 2;
    const QString url = QString("https://example.org/pay?id=%1").arg(1000 + rng.bounded(9000));
    const QString ean = "4006381333931";
    const QString c128 = QString("INV-%1").arg(20000 + rng.bounded(9999));
    QList<QImage> images;
    QStringList payloads;
    switch (variant % 6) {
    case 0:
    case 1:
        images.append(
            codeImage(ZXing::BarcodeFormat::QRCode, url, 3 * scale, theme.text, theme.background));
        payloads.append(url);
        break;
    case 2:
        images.append(
            codeImage(ZXing::BarcodeFormat::EAN13, ean, 2 * scale, theme.text, theme.background));
        payloads.append(ean);
        break;
    case 3:
        images.append(
            codeImage(ZXing::BarcodeFormat::QRCode, url, 3 * scale, theme.text, theme.background));
        images.append(codeImage(ZXing::BarcodeFormat::Code128, c128, 2 * scale, theme.text,
                                theme.background));
        payloads << url << c128;
        break;
    case 4: {
        const QImage qr =
            codeImage(ZXing::BarcodeFormat::QRCode, url, 3 * scale, theme.text, theme.background);
        images << qr << qr;
        payloads.append(url);
        break;
    }
    default:
        images.append(codeImage(ZXing::BarcodeFormat::Code128, c128, 2 * scale, theme.text,
                                theme.background));
        payloads.append(c128);
        break;
    }
    const int s = 14 * scale;
    const QString caption = "Scan to pay or open the link";
    const QFont f = font(pick(sansFonts), s);
    const QFontMetrics fm(f);
    int w = 20 * scale + fm.horizontalAdvance(caption);
    int h = 0;
    int codesW = 0;
    for (const QImage& i : images) {
        codesW += i.width() + 20 * scale;
        h = std::max(h, i.height());
    }
    w = std::max(w, codesW + 20 * scale);
    item.image = canvas(w + 20 * scale, h + s * 4, theme.background);
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(f);
    p.setPen(theme.text);
    p.drawText(QRect(20 * scale, 8 * scale, w, s * 2), Qt::AlignLeft | Qt::AlignVCenter, caption);
    int x = 20 * scale;
    for (const QImage& i : images) {
        p.drawImage(x, s * 3, i);
        x += i.width() + 20 * scale;
    }
    item.truth = caption;
    item.codes = payloads;
    return item;
}

// A full desktop-sized screenshot: a window with a sidebar list and prose.
Item screenshot() {
    Item item;
    item.category = "screenshot";
    item.language = "en";
    item.tessLang = "eng";
    item.image = canvas(2400, 1600, QColor(0x3b, 0x4a, 0x5c));
    QPainter p(&item.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(100, 100, 2200, 1400, light.background);
    p.fillRect(100, 100, 2200, 60, QColor(0xe0, 0xe0, 0xe0));
    p.fillRect(100, 160, 420, 1340, dark.background);
    p.setFont(font("Noto Sans", 28));
    p.setPen(light.text);
    p.drawText(QRect(140, 100, 1000, 60), Qt::AlignVCenter, "Release Notes - Glintext");
    QStringList truth{"Release Notes - Glintext"};
    p.setFont(font("Noto Sans", 26));
    p.setPen(dark.text);
    QStringList side;
    for (int i = 0; i < 10; ++i) {
        const QString label = menuWords[(i * 7) % menuWords.size()];
        p.drawText(QRect(140, 200 + i * 64, 360, 64), Qt::AlignVCenter, label);
        side.append(label);
    }
    p.setFont(font("Noto Serif", 28));
    p.setPen(light.text);
    const QStringList prose =
        drawParagraphs(p, QRect(580, 200, 1650, 1250), someSentences(proseSentences, 12), 46);
    // The sidebar rows and the prose lines share bands; a reader goes window part by
    // window part, so the truth lists the sidebar first.
    item.truth = (truth + side + prose).join('\n');
    return item;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 5 && QByteArray(argv[1]) == "--code") {
        // For pages drawn by other programs (the browser corpus), which scale it up.
        const bool qr = QByteArray(argv[2]) == "qr";
        const QImage code =
            codeImage(qr ? ZXing::BarcodeFormat::QRCode : ZXing::BarcodeFormat::Code128,
                      QString::fromUtf8(argv[3]), 1, Qt::black, Qt::white);
        return code.save(QString::fromLocal8Bit(argv[4])) ? 0 : 1;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: glintext-corpus OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    QList<Item> items;
    const QList<int> sizes{11, 12, 13, 14, 16, 18};
    for (int i = 0; i < 8; ++i) {
        const int scale = i % 2 == 0 ? 1 : 2;
        const int px = sizes[i % 4];
        items.append(i % 4 == 3 ? toolbar(light, sansFonts[i % 3], px, scale, false)
                                : uiList(light, sansFonts[i % 3], px, scale, false));
        items.append(i % 4 == 3 ? toolbar(dark, sansFonts[(i + 1) % 3], px, scale, true)
                                : uiList(dark, sansFonts[(i + 1) % 3], px, scale, true));
    }
    for (int i = 0; i < 6; ++i) {
        const QStringList& fonts = i % 2 ? serifFonts : sansFonts;
        items.append(paragraph(i % 3 == 2 ? dark : light, fonts[i % 3], sizes[1 + i % 5],
                               i % 2 ? 2 : 1, 560, 200, "paragraph"));
    }
    items.append(
        paragraph(light, "Noto Sans", 14, 1, 560, 200, "paragraph", germanSentences, "de", "deu"));
    for (int i = 0; i < 4; ++i)
        items.append(twoColumns(i == 2 ? dark : light, (i % 2 ? serifFonts : sansFonts)[i % 3],
                                sizes[1 + i % 3], i % 2 ? 2 : 1));
    for (int i = 0; i < 6; ++i)
        items.append(
            codeBlock(i % 2 ? dark : light, monoFonts[i % 3], sizes[i % 4], i < 3 ? 1 : 2, false));
    for (int i = 0; i < 5; ++i)
        items.append(codeBlock(QList<Theme>{dark, light}[i % 4 == 3 ? 1 : 0], monoFonts[i % 3],
                               sizes[i % 4], i % 2 ? 2 : 1, true));
    for (int i = 0; i < 6; ++i)
        items.append(
            table(i % 3 == 1 ? dark : light, sansFonts[i % 3], sizes[i % 4], i % 2 ? 2 : 1));
    for (int i = 0; i < 4; ++i)
        items.append(lowContrast(sansFonts[i % 3], sizes[1 + i % 3], i % 2 ? 2 : 1, i >= 2));
    for (int i = 0; i < 4; ++i)
        items.append(verticalJapanese(i % 2 ? dark : light, sizes[2 + i % 3], i < 2 ? 1 : 2,
                                      "Noto Sans CJK JP"));
    for (int i = 0; i < 3; ++i)
        items.append(cjkLines(i % 2 ? dark : light, sizes[2 + i], i % 2 ? 2 : 1, "Noto Sans CJK JP",
                              japaneseSentences, "japanese", "ja", "jpn"));
    for (int i = 0; i < 4; ++i)
        items.append(cjkLines(i % 2 ? dark : light, sizes[2 + i % 3], i < 2 ? 1 : 2,
                              "Noto Sans CJK SC", chineseSentences, "chinese", "zh_CN", "chi_sim"));
    for (int i = 0; i < 4; ++i)
        items.append(cjkLines(i % 2 ? dark : light, sizes[2 + i % 3], i < 2 ? 1 : 2,
                              "Noto Sans CJK KR", koreanSentences, "korean", "ko", "kor"));
    for (int i = 0; i < 6; ++i)
        items.append(codes(i));
    for (int i = 0; i < 4; ++i)
        items.append(fiveLines(sansFonts[i % 3]));
    items.append(screenshot());
    // Appended last, so every image before them stays as it was.
    items.append(columnPage(light, "DejaVu Sans", 13, 1, 2, 5, true, false));
    items.append(columnPage(light, "Liberation Serif", 14, 2, 2, 4, false, false));
    items.append(columnPage(dark, "Noto Sans", 12, 1, 3, 8, true, true));
    items.append(columnPage(light, "Noto Serif", 16, 1, 2, 10, false, true));
    items.append(columnPage(light, "Liberation Sans", 14, 1, 2, 3, false, false));
    items.append(columnPage(dark, "DejaVu Serif", 13, 2, 3, 5, true, false));

    QFile manifest(out + "/manifest.tsv");
    if (!manifest.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QTextStream m(&manifest);
    QHash<QString, int> counters;
    for (Item& item : items) {
        const int n = ++counters[item.category];
        item.name = QString("%1-%2").arg(item.category).arg(n, 2, 10, QChar('0'));
        item.image.save(out + "/" + item.name + ".png");
        QFile truth(out + "/" + item.name + ".txt");
        truth.open(QIODevice::WriteOnly | QIODevice::Truncate);
        truth.write(item.truth.toUtf8() + "\n");
        if (!item.lineColumns.isEmpty()) {
            QFile columns(out + "/" + item.name + ".columns");
            columns.open(QIODevice::WriteOnly | QIODevice::Truncate);
            for (int column : std::as_const(item.lineColumns))
                columns.write(QByteArray::number(column) + "\n");
        }
        m << item.name << '\t' << item.category << '\t' << item.language << '\t' << item.tessLang
          << '\t' << item.codes.join(QChar(0x1f)) << '\n';
    }
    std::printf("%d images in %s\n", int(items.size()), qPrintable(out));
    return 0;
}
