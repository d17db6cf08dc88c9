#pragma once

#include "support/PostgresCluster.h"
#include "support/ReferenceService.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The two databases the service runs on; suites whose behaviour lives in SQL run on both.
enum class Backend { Sqlite, Postgres };

inline std::string backendName(const testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}

// A running service on a fresh database of `backend`; fails the test when it cannot start.
inline std::unique_ptr<ReferenceService> startService(Backend backend,
                                                      ReferenceService::Options options = {}) {
    if (backend == Backend::Postgres) {
        QString error;
        options.database = PostgresCluster::shared().createDatabase(&error);
        if (options.database.isEmpty()) {
            ADD_FAILURE() << "no PostgreSQL: " << error.toStdString();
            return nullptr;
        }
    }
    auto service = std::make_unique<ReferenceService>(options);
    if (!service->isRunning()) {
        ADD_FAILURE() << service->startupError().toStdString();
        return nullptr;
    }
    return service;
}

#define INSTANTIATE_ON_BOTH_BACKENDS(suite)                                                        \
    INSTANTIATE_TEST_SUITE_P(Backends, suite, testing::Values(Backend::Sqlite, Backend::Postgres), \
                             backendName)
