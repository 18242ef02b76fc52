#pragma once
// File > Import: the "Import from file" wizard. The first page names the
// file, Next loads it into the preview, Finish applies it to the server
// with a progress dialog and ends with a summary. "Preview changes", on the
// same page, says per record what Finish would do, writing nothing.

#include <QDialog>
#include <optional>
#include <string>

#include "transfer/import/import_engine.h"
#include "transfer/import/import_file.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace ui {
class DialogRunner;
class FileChooser;
class Messages;
}  // namespace ui

namespace transfer {

class ImportPreviewModel;

// What the wizard needs of the window.
struct ImportDialogPorts {
  ui::Messages& messages;
  ui::FileChooser& files;
  ui::DialogRunner& dialogs;  // runs the summary
};

class ImportDialog final : public QDialog {
  Q_OBJECT
 public:
  ImportDialog(std::string server, bool logging, ImportDialogPorts ports,
               QWidget* parent = nullptr);
  ~ImportDialog() override;

  // The wizard's steps, as its buttons run them.
  void browse();
  void next();
  void back();
  void finish();
  // The dry run of the loaded file with the options chosen, shown in its
  // dialog.
  void previewChanges();

  // The last Finish's outcome; empty before one.
  const std::optional<ImportSummary>& summary() const { return m_summary; }
  // Whether any Finish added or changed an account or group.
  bool changedAccounts() const { return m_changed; }

  QLineEdit* pathEdit() const { return m_path; }
  QRadioButton* onlyAddNew() const { return m_onlyAddNew; }
  QRadioButton* updateAll() const { return m_updateAll; }
  QCheckBox* createHomes() const { return m_createHomes; }
  QPushButton* backButton() const { return m_back; }
  QPushButton* nextButton() const { return m_next; }
  QPushButton* finishButton() const { return m_finish; }
  QPushButton* previewChangesButton() const { return m_previewChanges; }
  QTableView* preview() const { return m_preview; }

 private:
  void showFirstPage();
  ImportOptions chosenOptions() const;

  std::string m_server;
  bool m_logging;
  ImportDialogPorts m_ports;
  std::optional<ImportTable> m_table;
  std::optional<ImportSummary> m_summary;
  bool m_changed = false;

  QLineEdit* m_path = nullptr;
  QPushButton* m_browse = nullptr;
  QTableView* m_preview = nullptr;
  ImportPreviewModel* m_model = nullptr;
  QRadioButton* m_onlyAddNew = nullptr;
  QRadioButton* m_updateAll = nullptr;
  QCheckBox* m_createHomes = nullptr;
  QCheckBox* m_createShares = nullptr;
  QPushButton* m_back = nullptr;
  QPushButton* m_next = nullptr;
  QPushButton* m_finish = nullptr;
  QPushButton* m_cancel = nullptr;
  QPushButton* m_previewChanges = nullptr;
};

}  // namespace transfer
