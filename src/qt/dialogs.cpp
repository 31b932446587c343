#include "qt/dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QStandardItemModel>

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

int GetItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
            const QStringList& greyed) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(title);
  dialog.setLabelText(label);
  dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
  dialog.setComboBoxItems(items);
  dialog.setComboBoxEditable(false);
  auto* list = dialog.findChild<QComboBox*>();
  if (list == nullptr) return -1;
  // The list shows the combo box's own model: greying an item there greys
  // it in the list, and takes it out of the choice.
  auto* model = qobject_cast<QStandardItemModel*>(list->model());
  int first = -1;
  for (int i = 0; i < items.size(); ++i) {
    const bool grey = i < greyed.size() && !greyed[i].isEmpty();
    if (grey && model != nullptr) {
      model->item(i)->setFlags(model->item(i)->flags() &
                               ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
      model->item(i)->setToolTip(greyed[i]);
    } else if (first < 0) {
      first = i;
    }
  }
  if (first >= 0) dialog.setTextValue(items[first]);
  list->setCurrentIndex(first);
  // Wide enough for a whole path, or a file and the reason it is greyed.
  if (auto* view = dialog.findChild<QListView*>(); view != nullptr) view->setMinimumWidth(560);
  // The list starts on that entry too, for the keys that walk it.
  if (auto* view = dialog.findChild<QListView*>(); view != nullptr && first >= 0) {
    view->setCurrentIndex(view->model()->index(first, 0));
    view->setFocus();
  }
  if (dialog.exec() != QDialog::Accepted) return -1;
  // By its place: the dialog matches the list's choice to the combo box by
  // text, the first of entries that read alike.
  const auto* view = dialog.findChild<QListView*>();
  const int chosen = view != nullptr ? view->currentIndex().row() : list->currentIndex();
  return chosen >= 0 && (chosen >= greyed.size() || greyed[chosen].isEmpty()) ? chosen : -1;
}

QString GetText(QWidget* parent, const QString& title, const QString& label, const QString& text) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(title);
  dialog.setLabelText(label);
  dialog.setTextValue(text);
  dialog.setMinimumWidth(360);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue();
}

}  // namespace dialogs
