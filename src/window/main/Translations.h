// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The interface is Japanese whatever the user's locale: Qt's own texts (the
// buttons of message boxes, the file dialog, the context menus of text boxes)
// come from Qt's Japanese translations.
#pragma once

class QCoreApplication;

namespace melvo {

// Loads Qt's Japanese translations into the application; false when they are
// not installed (Qt's English texts show then).
bool installJapaneseTranslations(QCoreApplication& app);

}  // namespace melvo
