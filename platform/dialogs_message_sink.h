// Shows the messages of the non-visual code through the application's
// dialogs: plain messages as plain boxes, errors as the general error box.
#pragma once

#include <QString>

#include "platform/dialogs.h"
#include "base/message_sink.h"
#include "base/stderr_message_sink.h"

namespace lirvane {

class DialogsMessageSink : public MessageSink {
 public:
  explicit DialogsMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
  void Show(MessageKind kind, std::string_view text) override {
    if (kind == MessageKind::kNote) return StderrMessageSink().Show(kind, text);
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (kind == MessageKind::kError)
      ShowErrorBox(parent_, message);
    else
      ShowPlainMessage(parent_, message);
  }

 private:
  QWidget* parent_;
};

}  // namespace lirvane
