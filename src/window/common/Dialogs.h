// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The program's modal dialogs, behind an interface so that tests can answer
// them without a person. Every message box is titled "Melvo".
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class QWidget;

namespace melvo {

enum class MessageIcon { None, Exclamation, Question, Information, Critical };

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A message box with only an OK button.
    virtual void message(const QString& text, MessageIcon icon = MessageIcon::None) = 0;
    // A question with Yes and No buttons and the question icon; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // The file-open dialog for one existing file, showing files that match
    // filter. Returns the chosen file as a URL, which keeps the bytes of a name
    // that is not UTF-8; an empty URL when the user cancels.
    virtual QUrl openFile(const QString& filter) = 0;
    // The same for several files, in the order the dialog gives them; none
    // when the user cancels.
    virtual QList<QUrl> openFiles(const QString& filter) = 0;
    // The folder dialog; an empty URL when the user cancels.
    virtual QUrl openFolder() = 0;
    // The file-save dialog: a new or existing file to write, given the
    // extension (without its dot) when the user typed none. The dialog asks
    // before an existing file is replaced. An empty URL when the user cancels.
    virtual QUrl saveFile(const QString& filter, const QString& extension) = 0;
};

// The real dialogs, as Qt message boxes and file dialogs over the given window.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const QString& text, MessageIcon icon) override;
    bool askYesNo(const QString& text) override;
    QUrl openFile(const QString& filter) override;
    QList<QUrl> openFiles(const QString& filter) override;
    QUrl openFolder() override;
    QUrl saveFile(const QString& filter, const QString& extension) override;

  private:
    QWidget* parent_;
};

}  // namespace melvo
