#include "FieldTables.h"

#include <mutex>

namespace medrec::tp::client {

namespace {

struct Current
{
    std::mutex mutex;
    std::shared_ptr<const FieldTable> table;
};

Current &current()
{
    static Current c;
    return c;
}

} // namespace

std::shared_ptr<const FieldTable> currentFieldTable()
{
    std::lock_guard lock(current().mutex);
    return current().table;
}

void installFieldTable(std::shared_ptr<const FieldTable> table)
{
    std::lock_guard lock(current().mutex);
    current().table = std::move(table);
}

} // namespace medrec::tp::client
