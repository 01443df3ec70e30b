#pragma once
// The command line's message presenter: writes each box's text to a stream (stderr), in the
// program's message form (program_message.h) when a program is named, its details on a line
// of their own after "Detalhes: ", and, since nobody can answer, takes the box's default
// button.
#include <ostream>
#include <string>
#include <string_view>

#include "shell/messages/messages.h"

namespace talvers {

class ConsolePresenter : public MessagePresenter {
  public:
    explicit ConsolePresenter(std::ostream& out, std::string_view program = {})
        : out_(out), program_(program) {}
    MessageResult present(const MessageBoxSpec& box) override;

  private:
    std::ostream& out_;
    std::string program_;
};

}  // namespace talvers
