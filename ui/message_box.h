#pragma once
// Coded messages as message boxes: the icon of the style (16 error, 48 warning, 64
// information), the title, the text and the identifier ("ERR-ID:…") in the box, owned by
// the window of the form that raised it.
#include "platform/core/message.h"

namespace qmx44::ui {

class MessageBoxSink : public MessageSink {
public:
    int show(const Message &message) override;
};

} // namespace qmx44::ui
