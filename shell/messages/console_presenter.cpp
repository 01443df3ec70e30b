#include "shell/messages/console_presenter.h"

#include "shell/messages/program_message.h"

namespace talvers {

MessageResult ConsolePresenter::present(const MessageBoxSpec& box) {
    // The failure text holds LF CR; a terminal shows it better as one line break.
    std::string text;
    for (size_t i = 0; i < box.text.size(); ++i) {
        if (box.text[i] == '\r' && i > 0 && box.text[i - 1] == '\n') continue;
        text += box.text[i];
    }
    out_ << programMessage(program_, text) << '\n';
    if (!box.details.empty()) out_ << "Detalhes: " << box.details << '\n';
    out_.flush();
    return box.defaultButton;
}

}  // namespace talvers
