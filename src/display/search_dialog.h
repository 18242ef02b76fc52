#pragma once
// The Find and Filter dialogs: a search text, how it matches, and the
// columns it is tested against. They share everything but their texts and
// Find's "Start from top".

#include <QDialog>
#include <string>
#include <vector>

#include "dlgthreads/record_match.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace ui {
class Messages;
}

namespace display {

struct SearchFields {
  std::string text;
  bool startFromTop = false;  // Find only
  bool entireString = false;
  bool allColumns = true;
  bool matchCase = false;
  int column = -1;  // the selected column; -1 with all columns

  dlgthreads::MatchOptions matchOptions() const {
    return {text, entireString, matchCase, allColumns ? -1 : column};
  }
};

class SearchDialog : public QDialog {
  Q_OBJECT
 public:
  const SearchFields& fields() const { return m_fields; }
  // The OK step: refuses a search over no column and keeps the dialog open.
  void accept() override;

  QLineEdit* textEdit() const { return m_text; }
  QCheckBox* startFromTopBox() const { return m_fromTop; }
  QCheckBox* entireStringBox() const { return m_entire; }
  QCheckBox* allColumnsBox() const { return m_allColumns; }
  QCheckBox* matchCaseBox() const { return m_matchCase; }
  QListWidget* columnList() const { return m_columns; }

 protected:
  struct Texts {
    const char* objectName;
    const char* title;
    const char* textLabel;
    const char* allColumnsLabel;
    const char* okLabel;
    const char* note;  // nullptr: none
    bool startFromTop;
  };
  SearchDialog(const Texts& texts, SearchFields fields, const std::vector<std::string>& columns,
               ui::Messages& messages, QWidget* parent);

 private:
  bool exchange(bool save);

  SearchFields m_fields;
  ui::Messages& m_messages;
  QLineEdit* m_text = nullptr;
  QCheckBox* m_fromTop = nullptr;
  QCheckBox* m_entire = nullptr;
  QCheckBox* m_allColumns = nullptr;
  QCheckBox* m_matchCase = nullptr;
  QListWidget* m_columns = nullptr;
};

// Template 223.
class FindDialog final : public SearchDialog {
  Q_OBJECT
 public:
  FindDialog(SearchFields fields, const std::vector<std::string>& columns, ui::Messages& messages,
             QWidget* parent = nullptr);
};

// Template 224.
class FilterDialog final : public SearchDialog {
  Q_OBJECT
 public:
  FilterDialog(SearchFields fields, const std::vector<std::string>& columns, ui::Messages& messages,
               QWidget* parent = nullptr);
};

}  // namespace display
