#pragma once
// QtMessagePresenter: the desktop's message boxes. Each box is an application-modal
// QMessageBox over the active window, with the box's title, text, icon, buttons and default
// button, and the box's details (when it has any) in the box's "Mostrar detalhes..." part;
// present() returns when the user answers. Closing a box without a button (Escape,
// the window's close button) answers Cancel for OK/Cancel, No for Yes/No and OK otherwise.
#include "shell/messages/messages.h"

namespace talvers {

class QtMessagePresenter : public MessagePresenter {
  public:
    MessageResult present(const MessageBoxSpec& box) override;
};

}  // namespace talvers
