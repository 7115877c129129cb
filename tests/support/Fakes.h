// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Test doubles for the platform services of the main window: the core's
// (engine, mixer) and the window's (dialogs, launcher).
#pragma once

#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

#include "desktop/launcher/DesktopLauncher.h"
#include "support/CoreFakes.h"
#include "window/common/Dialogs.h"

namespace melvo::test {

// Records every message and answers questions and the file dialog as told.
class FakeDialogs : public Dialogs {
  public:
    void message(const QString& text, MessageIcon icon) override {
        messages.push_back(text);
        icons.push_back(icon);
        if (whileShown) whileShown();
    }
    bool askYesNo(const QString& text) override {
        questions.push_back(text);
        return answerYes;
    }
    QUrl openFile(const QString& filter) override {
        fileFilters.push_back(filter);
        return chosenFile ? QUrl::fromLocalFile(*chosenFile) : QUrl();
    }
    QList<QUrl> openFiles(const QString& filter) override {
        fileFilters.push_back(filter);
        QList<QUrl> urls;
        for (const QString& file : chosenFiles) urls << QUrl::fromLocalFile(file);
        if (chosenFiles.empty() && chosenFile) urls << QUrl::fromLocalFile(*chosenFile);
        return urls;
    }
    QUrl openFolder() override {
        return chosenFolder ? QUrl::fromLocalFile(*chosenFolder) : QUrl();
    }
    QUrl saveFile(const QString& filter, const QString&) override {
        fileFilters.push_back(filter);
        return savedFile ? QUrl::fromLocalFile(*savedFile) : QUrl();
    }

    std::vector<QString> messages;
    std::vector<MessageIcon> icons;
    std::vector<QString> questions;
    std::vector<QString> fileFilters;
    bool answerYes = true;
    std::optional<QString> chosenFile;  // nothing: the user cancels
    std::function<void()> whileShown;   // runs while each message box is open
    std::vector<QString> chosenFiles;   // several files at once; none: chosenFile alone
    std::optional<QString> chosenFolder;
    std::optional<QString> savedFile;
};

class FakeLauncher : public DesktopLauncher {
  public:
    bool openUrl(const QUrl& url) override {
        opened.push_back(url);
        return result;
    }
    std::vector<QUrl> opened;
    bool result = true;
};

}  // namespace melvo::test
