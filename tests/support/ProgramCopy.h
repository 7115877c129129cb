// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// A copy of the program in a temporary folder, run as a real process: each
// copy keeps its data files beside itself, so a copy is a jukebox on its own
// data folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "desktop/instance/SingleInstance.h"

namespace melvo::test {

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A copy of the program with its own data folder.
class ProgramCopy {
  public:
    ProgramCopy() {
        const QByteArray copy = QFile::encodeName(program());
        // A hard link where the file systems allow it, else a copy.
        if (::link(MELVO_PROGRAM, copy.constData()) != 0) QFile::copy(MELVO_PROGRAM, program());
    }

    QString program() const { return folder.filePath(QStringLiteral("melvo")); }
    QString file(const char* name) const { return folder.filePath(QLatin1String(name)); }

    // Starts the program in workingFolder with arguments.
    std::unique_ptr<QProcess> run(const QStringList& arguments,
                                  const QString& workingFolder = QString()) const {
        auto process = std::make_unique<QProcess>();
        process->setWorkingDirectory(workingFolder.isEmpty() ? folder.path() : workingFolder);
        // Off the session bus: these copies must not answer the media-controls
        // tests, which look for a jukebox under the one bus name.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=/nonexistent/melvo-test-bus"));
        process->setProcessEnvironment(environment);
        process->start(program(), arguments);
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    // True once process holds the data folder and listens for later starts.
    bool holdsFolder(QProcess& process, int timeoutMs = 15000) const {
        const QByteArray pid = QByteArray::number(process.processId()) + '\n';
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs && process.state() == QProcess::Running) {
            if (readFile(file(kInstanceLockFileName)).startsWith(pid)) return true;
            QTest::qWait(20);
        }
        return false;
    }

    QTemporaryDir folder;
};

// A later start that ends by itself: its exit status, or -1 when it did not end.
inline int exitStatusOf(QProcess& process, int timeoutMs = 10000) {
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace melvo::test
