#pragma once

#include "support/AppLanguage.h"

#include <QHash>
#include <QString>

#include <span>

// The interface texts, compiled in: one table per language, each with exactly the English
// key set. Built once on first use and immutable afterwards, so any thread may read them.
namespace LocalizationTables {

using Table = QHash<QString, QString>;

// A text may hold one "%d" (integer) or "%@" (string) placeholder, and "{host}", which the
// lookup replaces with the service's host name.
struct Entry {
    const char* key;
    const char* text; // UTF-8
};

const QHash<AppLanguage, Table>& tables();
const Table& table(AppLanguage language);

const Table& en();
const Table& ja();
const Table& ko();
const Table& zhHans();
const Table& zhHant();
const Table& de();
const Table& fr();
const Table& es();
const Table& ptBR();
const Table& ru();
const Table& it();
const Table& nl();
const Table& pl();
const Table& tr();

// The constant lists the tables are built from, in table order (src/support/strings/).
namespace Source {
std::span<const Entry> en();
std::span<const Entry> ja();
std::span<const Entry> ko();
std::span<const Entry> zhHans();
std::span<const Entry> zhHant();
std::span<const Entry> de();
std::span<const Entry> fr();
std::span<const Entry> es();
std::span<const Entry> ptBR();
std::span<const Entry> ru();
std::span<const Entry> it();
std::span<const Entry> nl();
std::span<const Entry> pl();
std::span<const Entry> tr();
} // namespace Source

// Builds a table; a repeated key is a programming error and stops the program.
Table build(std::span<const Entry> entries, const char* name);

} // namespace LocalizationTables
