// Checks the documented properties of TextCleanup::clean on arbitrary input:
// lines keep their order and content, no whitespace at the ends, and idempotence.
#include "core/TextCleanup.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace TextCleanup;

namespace {

[[noreturn]] void fail(const char* what, const QString& input) {
    std::fprintf(stderr, "property violated: %s\ninput: %s\n", what, qPrintable(input));
    std::abort();
}

bool isEdgeWhitespace(char32_t c) {
    return isLineWhitespace(c) || isNewlineSeparator(c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Map bytes onto a small alphabet rich in the characters the clean-up cares about.
    static const char32_t alphabet[] = {
        U'a',   U'Z',   U'7',    U' ',   U'\t',  U'\n',   U'\r',  0x0B,   0x0C,   0x85,
        0x2028, 0x2029, 0x00A0,  0x3000, 0x2003, 0x3042,  0x304B, 0x3099, 0x309A, 0x30A2,
        0x6771, 0x4EAC, 0x3400,  0x9FFF, 0xF900, 0xFF66,  0xFF9D, 0xFF9E, 0xAC00, 0x3002,
        0x3001, 0xFF21, 0x20000, 0x0301, 0x200B, 0x1F600, 0x200D, 0xFE0F};
    QString input;
    for (size_t i = 0; i < size; ++i) {
        const char32_t c = alphabet[data[i] % (sizeof(alphabet) / sizeof(alphabet[0]))];
        input += QString::fromUcs4(&c, 1);
    }

    const QString out = clean(input);

    // No whitespace or separators at either end.
    if (!out.isEmpty()) {
        const QList<uint> u = out.toUcs4();
        if (isEdgeWhitespace(u.first()) || isEdgeWhitespace(u.last()))
            fail("whitespace at an end", input);
    }

    // Every output line is one trimmed input line, or three or more consecutive trimmed
    // fragment lines joined, in order; only empty lines may be skipped.
    QStringList in = splitLines(input);
    for (QString& line : in)
        line = trimLineWhitespace(line);
    qsizetype next = 0;
    for (const QString& line : out.split(u'\n')) {
        while (next < in.size() && in[next].isEmpty() && !line.isEmpty())
            ++next;
        if (next >= in.size())
            fail("output has more lines than the input", input);
        if (line == in[next]) {
            ++next;
            continue;
        }
        QString joined;
        qsizetype taken = 0;
        while (next + taken < in.size() && isVerticalFragment(in[next + taken]) &&
               joined.size() < line.size()) {
            joined += in[next + taken];
            ++taken;
        }
        if (joined != line || taken < minimumFragmentRun)
            fail("a line was changed or reordered", input);
        next += taken;
    }
    for (; next < in.size(); ++next)
        if (!in[next].isEmpty())
            fail("a line was lost", input);

    if (clean(out) != out)
        fail("not idempotent", input);
    return 0;
}
