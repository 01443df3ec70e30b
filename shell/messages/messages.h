#pragma once
// The program's message convention: every information box and question goes through
// showMessage(), which turns a message kind into a box description and hands it to a
// MessagePresenter (console now, Qt message boxes in the desktop program).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/messages/numbered_error.h"

namespace talvers {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { Warning, Information };

// The window system's standard button codes.
enum class MessageResult : std::int16_t { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageBoxSpec {
    std::string title;  // always "Informação"
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Information;
    MessageResult defaultButton = MessageResult::Ok;
    // What an engine said in its own words, shown apart from the text ("Detalhes"); "" for
    // none.
    std::string details{};
};

// Shows one box and returns the button pressed.
class MessagePresenter {
  public:
    virtual ~MessagePresenter() = default;
    virtual MessageResult present(const MessageBoxSpec& box) = 0;
};

inline constexpr std::string_view kMessageTitle = "Informação";
inline constexpr std::string_view kNoDataMessage =
    "Não existe informação para as condições solicitadas!";
// The description of a failure that is none of the program's own kinds; what it said goes to
// the details.
inline constexpr std::string_view kUnexpectedFailure = "Ocorreu uma falha inesperada.";

// The box for a message kind: 1 "Campo obrigatório [field].", 2 information, 3 OK/Cancel
// with Cancel as default, 4 Yes/No. Any other kind has no box (nullopt).
std::optional<MessageBoxSpec> messageBoxFor(std::string_view fieldName, std::string_view text,
                                            std::int16_t kind);

// Shows the box of `kind` (with `details` apart from its text) and returns 0 for kinds 1 and 2
// and for kinds without a box, and the pressed button's code for kinds 3 and 4.
std::int16_t showMessage(MessagePresenter& presenter, std::string_view fieldName,
                         std::string_view text, std::int16_t kind, std::string_view details = {});

// "Situação Anómala", LF, CR, "Erro: ", description, two blanks, number.
std::string failureMessageText(std::string_view description, long number);

// Shows the failure message as an information box (kind 2), `details` apart from it.
void showFailure(MessagePresenter& presenter, std::string_view description, long number,
                 std::string_view details = {});
// The same for an error: its description and number, its details apart.
void showFailure(MessagePresenter& presenter, const NumberedError& error);

}  // namespace talvers
