// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The help menu's two outside destinations: the help document and the home page.
#pragma once

#include <QString>
#include <QStringList>

namespace melvo {

// The home page the help menu opens in the user's browser.
inline constexpr char kHomePageAddress[] = "https://melvo.example.jp/";

// The help document's file name, beside the program or in its data folder.
inline constexpr char kHelpFileName[] = "melvo-help.html";

// How long the busy cursor stays while the browser starts, unless the browser
// takes over the desktop's focus before.
inline constexpr int kBrowserStartMilliseconds = 3000;

// The folders searched for the help document, in order: the program's own
// folder, the data folder of an installation beside it (../share/melvo), then
// melvo in every system data folder.
QStringList helpFolders();
// Replaces the folders searched (tests, or a program that knows better).
void setHelpFolders(const QStringList& folders);

// The first existing help document in folders; empty when there is none.
QString findHelpDocument(const QStringList& folders);

}  // namespace melvo
