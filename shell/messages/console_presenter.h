#pragma once
// The command line's message presenter: writes each box's text to a stream (stderr), its
// details on a line of their own after "Detalhes: ", and, since nobody can answer, takes the
// box's default button.
#include <ostream>

#include "shell/messages/messages.h"

namespace talvers {

class ConsolePresenter : public MessagePresenter {
  public:
    explicit ConsolePresenter(std::ostream& out) : out_(out) {}
    MessageResult present(const MessageBoxSpec& box) override;

  private:
    std::ostream& out_;
};

}  // namespace talvers
