#pragma once
// A list model over a display content of its own, as the tests of the
// lists, the export and the clipboard set one up without a window.

#include <memory>
#include <utility>

#include "display/content_table_model.h"
#include "session/display_contents.h"

namespace display_test {

template <class Content>
struct ContentModel {
  explicit ContentModel(display::IconSet icons = {}, QObject* parent = nullptr)
      : model(new display::ContentTableModel(content, std::move(icons), parent)) {}

  // Takes finished records whole, every one with a row.
  template <class Holder>
  void adopt(Holder records) {
    content->list().adoptAll(std::move(records));
    model->reset();
  }

  std::shared_ptr<Content> content = std::make_shared<Content>();
  // Owned by `parent` when one is given.
  display::ContentTableModel* model;
};

// A model without a parent, deleted with the helper.
template <class Content>
struct OwnedContentModel : ContentModel<Content> {
  explicit OwnedContentModel(display::IconSet icons = {}) : ContentModel<Content>(std::move(icons)) {
    owner.reset(this->model);
  }
  std::unique_ptr<display::ContentTableModel> owner;
};

}  // namespace display_test

#include <functional>

#include "display/result_display.h"

namespace display_test {

// A finished browse of `kind` handed to the display, its block filled by `put`.
inline void fillBlock(display::ResultDisplay& display, dlgthreads::WorkKind kind,
                      const std::function<void(dlgthreads::WorkerBlock&)>& put) {
  dlgthreads::WorkerBlock block;
  block.kind = kind;
  put(block);
  display.fill(block);
}

}  // namespace display_test
