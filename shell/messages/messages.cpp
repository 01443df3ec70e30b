#include "shell/messages/messages.h"

namespace talvers {

std::optional<MessageBoxSpec> messageBoxFor(std::string_view fieldName, std::string_view text,
                                            std::int16_t kind) {
    MessageBoxSpec box;
    box.title = std::string(kMessageTitle);
    switch (kind) {
        case 1:
            box.text = "Campo obrigatório [" + std::string(fieldName) + "].";
            box.icon = MessageIcon::Warning;
            return box;
        case 2:
            box.text = std::string(text);
            return box;
        case 3:
            box.text = std::string(text);
            box.buttons = MessageButtons::OkCancel;
            box.defaultButton = MessageResult::Cancel;
            return box;
        case 4:
            box.text = std::string(text);
            box.buttons = MessageButtons::YesNo;
            box.defaultButton = MessageResult::Yes;
            return box;
        default:
            return std::nullopt;
    }
}

std::int16_t showMessage(MessagePresenter& presenter, std::string_view fieldName,
                         std::string_view text, std::int16_t kind, std::string_view details) {
    auto box = messageBoxFor(fieldName, text, kind);
    if (!box) return 0;
    box->details = std::string(details);
    const MessageResult result = presenter.present(*box);
    return kind == 3 || kind == 4 ? static_cast<std::int16_t>(result) : 0;
}

std::string failureMessageText(std::string_view description, long number) {
    std::string text = "Situação Anómala";
    text += '\n';
    text += '\r';
    text += "Erro: ";
    text += description;
    text += "  ";
    text += std::to_string(number);
    return text;
}

void showFailure(MessagePresenter& presenter, std::string_view description, long number,
                 std::string_view details) {
    showMessage(presenter, "", failureMessageText(description, number), 2, details);
}

void showFailure(MessagePresenter& presenter, const NumberedError& error) {
    showFailure(presenter, error.description(), error.number(), error.details());
}

}  // namespace talvers
