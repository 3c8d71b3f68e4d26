#pragma once

#include <QFileInfo>
#include <QTest>

/// Skips the current test row when a sample file is missing: the peer samples live beside
/// the checkout and may not be there in every environment.
#define VARLO_REQUIRE_FILE(path)                                                                   \
    do {                                                                                           \
        if (!QFileInfo::exists(path))                                                              \
            QSKIP(qPrintable(QStringLiteral("sample not available: %1").arg(path)));              \
    } while (false)
