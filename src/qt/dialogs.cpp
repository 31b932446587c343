#include "qt/dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace dialogs {

void MsgBox(QWidget* parent, const QString& prompt, const QString& title, int style) {
  QMessageBox box(style == kStop ? QMessageBox::Critical : QMessageBox::Information, title, prompt,
                  QMessageBox::Ok, parent);
  box.exec();
}

QString GetOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                        const QStringList& filters, const QString& defaultSuffix) {
  QFileDialog dialog(parent, title, directory);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString GetExistingDirectory(QWidget* parent, const QString& title, const QString& directory) {
  return QFileDialog::getExistingDirectory(parent, title, directory);
}

int GetItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(title);
  dialog.setLabelText(label);
  dialog.setComboBoxItems(items);
  dialog.setComboBoxEditable(false);
  if (dialog.exec() != QDialog::Accepted) return -1;
  const auto* list = dialog.findChild<QComboBox*>();
  return list != nullptr ? list->currentIndex() : -1;
}

}  // namespace dialogs
