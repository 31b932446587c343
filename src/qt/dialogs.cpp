#include "qt/dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace dialogs {

namespace {
Hook& TestHook() {
  static Hook hook;
  return hook;
}
}  // namespace

void SetHookForTesting(Hook hook) {
  TestHook() = std::move(hook);
}

void MsgBox(QWidget* parent, const QString& prompt, const QString& title, int style) {
  if (TestHook()) {
    Request r;
    r.kind = Request::Kind::Message;
    r.text = prompt;
    r.title = title;
    r.style = style;
    TestHook()(r);
    return;
  }
  QMessageBox box(style == kStop ? QMessageBox::Critical : QMessageBox::Information, title, prompt,
                  QMessageBox::Ok, parent);
  box.exec();
}

QString GetOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                        const QStringList& filters, const QString& defaultSuffix) {
  if (TestHook()) {
    Request r;
    r.kind = Request::Kind::OpenFile;
    r.title = title;
    r.directory = directory;
    r.filters = filters;
    r.defaultSuffix = defaultSuffix;
    return TestHook()(r);
  }
  QFileDialog dialog(parent, title, directory);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString GetExistingDirectory(QWidget* parent, const QString& title, const QString& directory) {
  if (TestHook()) {
    Request r;
    r.kind = Request::Kind::Folder;
    r.title = title;
    r.directory = directory;
    return TestHook()(r);
  }
  return QFileDialog::getExistingDirectory(parent, title, directory);
}

int GetItem(QWidget* parent, const QString& title, const QString& label,
            const QStringList& items) {
  if (TestHook()) {
    Request r;
    r.kind = Request::Kind::List;
    r.title = title;
    r.text = label;
    r.items = items;
    bool number = false;
    const int position = TestHook()(r).toInt(&number);
    return number && position >= 0 && position < items.size() ? position : -1;
  }
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
