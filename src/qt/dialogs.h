// Every modal dialog Kestrum shows goes through here (a test answers them
// through the window's session instead).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace dialogs {

// Message box styles as Windows numbers them.
inline constexpr int kStop = 16;
inline constexpr int kInformation = 64;

// A modal message box with an OK button.
void MsgBox(QWidget* parent, const QString& prompt, const QString& title, int style);

// A modal Open dialog. The file name chosen (a host path), or empty.
QString GetOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                        const QStringList& filters, const QString& defaultSuffix);

// A modal dialog that chooses a folder. The folder chosen (a host path), or
// empty.
QString GetExistingDirectory(QWidget* parent, const QString& title, const QString& directory);

// A modal choice of one entry of a list: its position, or -1 when cancelled.
// Entries may read alike (names that are not UTF-8): only the position says
// which was chosen. An entry with a reason in greyed is greyed, cannot be
// picked, and gives the reason as its tool tip.
int GetItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
            const QStringList& greyed = {});

// A modal line of text, starting as given; empty when cancelled.
QString GetText(QWidget* parent, const QString& title, const QString& label, const QString& text);

}  // namespace dialogs
