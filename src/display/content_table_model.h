#pragma once
// The one table model of the result lists: a view of a display's content
// (session/display_content.h), which holds the rows and says what each cell
// shows. Sorting, filtering and a new fill change the content; the model is
// then reset, so the view asks again.

#include <QAbstractTableModel>

#include <memory>

#include "display/icon_set.h"
#include "display/model_roles.h"
#include "session/display_content.h"

class QTableView;

namespace display {

class ContentTableModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  ContentTableModel(std::shared_ptr<session::DisplayContent> content, IconSet icons = {},
                    QObject* parent = nullptr);

  session::DisplayContent& content() { return *m_content; }
  const session::DisplayContent& content() const { return *m_content; }
  // The content changed: every row and column is read again.
  void reset();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::shared_ptr<session::DisplayContent> m_content;
  IconSet m_icons;
  // The column count the model last reported (a Files form change alters it).
  int m_columns = 0;
};

// The model of a list view, or nullptr for a view without one.
ContentTableModel* contentModelOf(const QTableView& view);

}  // namespace display
