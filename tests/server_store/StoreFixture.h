#pragma once

// A fresh database file of the current layout in a temporary folder, removed afterwards,
// and a small catalogue the store tests share.

#include "Importer.h"
#include "SmallCatalogue.h"
#include "Schema.h"
#include "Sqlite.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace medrec::server::store::testing {

class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    sqlite3 *db() const { return m_db->get(); }
    std::string dbPath() const { return m_dir->file("medrec.db"); }
    std::filesystem::path dir() const { return m_dir->path(); }

    // Imports the document, failing the test with the import's message if it is refused.
    void importOk(const std::string &json);
    // Row count of a table.
    long long count(const std::string &table) const;

private:
    std::unique_ptr<medrec::testing::TempDir> m_dir;
    std::unique_ptr<Connection> m_db;
};


} // namespace medrec::server::store::testing
