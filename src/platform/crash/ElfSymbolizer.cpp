#include "platform/crash/ElfSymbolizer.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <elf.h>

namespace {

template <typename T> const T* at(const QByteArray& image, quint64 offset, quint64 count = 1) {
    if (offset > quint64(image.size()) || count * sizeof(T) > quint64(image.size()) - offset)
        return nullptr;
    return reinterpret_cast<const T*>(image.constData() + offset);
}

QString demangled(const QByteArray& name) {
    int status = 0;
    char* plain = abi::__cxa_demangle(name.constData(), nullptr, nullptr, &status);
    if (status != 0 || !plain)
        return QString::fromUtf8(name);
    QString text = QString::fromUtf8(plain);
    std::free(plain);
    return text;
}

} // namespace

ElfSymbolizer::ElfSymbolizer(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return;
    load(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), file.size()));
    file.unmap(mapped);
}

void ElfSymbolizer::load(const QByteArray& image) {
    const auto* header = at<Elf64_Ehdr>(image, 0);
    if (!header || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 ||
        header->e_ident[EI_CLASS] != ELFCLASS64)
        return;
    if (const auto* programs = at<Elf64_Phdr>(image, header->e_phoff, header->e_phnum)) {
        for (int i = 0; i < header->e_phnum; ++i) {
            if (programs[i].p_type == PT_LOAD)
                m_segments.append(
                    {programs[i].p_offset, programs[i].p_vaddr, programs[i].p_filesz});
        }
    }
    const auto* sections = at<Elf64_Shdr>(image, header->e_shoff, header->e_shnum);
    if (!sections)
        return;
    // The full table when the file has one; the dynamic one names only exported functions.
    for (const unsigned type : {unsigned(SHT_SYMTAB), unsigned(SHT_DYNSYM)}) {
        for (int i = 0; i < header->e_shnum && m_functions.isEmpty(); ++i) {
            const Elf64_Shdr& table = sections[i];
            if (table.sh_type != type || table.sh_link >= header->e_shnum)
                continue;
            const Elf64_Shdr& strings = sections[table.sh_link];
            const quint64 count = table.sh_size / sizeof(Elf64_Sym);
            const auto* symbols = at<Elf64_Sym>(image, table.sh_offset, count);
            if (!symbols)
                continue;
            for (quint64 s = 0; s < count; ++s) {
                const Elf64_Sym& symbol = symbols[s];
                if (ELF64_ST_TYPE(symbol.st_info) != STT_FUNC || symbol.st_value == 0 ||
                    symbol.st_name >= strings.sh_size)
                    continue;
                const char* name = image.constData() + strings.sh_offset + symbol.st_name;
                const quint64 room = strings.sh_size - symbol.st_name;
                m_functions.append({symbol.st_value, symbol.st_size,
                                    QByteArray(name, qsizetype(strnlen(name, room)))});
            }
        }
    }
    std::sort(m_functions.begin(), m_functions.end(),
              [](const Function& a, const Function& b) { return a.start < b.start; });
}

std::optional<ElfSymbolizer::Symbol> ElfSymbolizer::symbolAt(quint64 fileOffset) const {
    std::optional<quint64> vaddr;
    for (const Segment& segment : m_segments) {
        if (fileOffset >= segment.offset && fileOffset < segment.offset + segment.size)
            vaddr = fileOffset - segment.offset + segment.vaddr;
    }
    if (!vaddr)
        return std::nullopt;
    auto after = std::upper_bound(m_functions.begin(), m_functions.end(), *vaddr,
                                  [](quint64 v, const Function& f) { return v < f.start; });
    if (after == m_functions.begin())
        return std::nullopt;
    const Function& function = *std::prev(after);
    const quint64 offset = *vaddr - function.start;
    if (offset >= std::max<quint64>(function.size, 1))
        return std::nullopt;
    return Symbol{demangled(function.name), offset};
}
