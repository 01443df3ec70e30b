#pragma once
// A message presenter for tests: records every box and answers with the scripted buttons in
// order, or with the box's default button when none is left.
#include <deque>
#include <string>
#include <vector>

#include "shell/messages/messages.h"

namespace talvers::testing {

class RecordingPresenter : public MessagePresenter {
  public:
    MessageResult present(const MessageBoxSpec& box) override {
        shown.push_back(box);
        if (answers.empty()) return box.defaultButton;
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // The texts of the boxes shown, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const MessageBoxSpec& box : shown) out.push_back(box.text);
        return out;
    }

    std::vector<MessageBoxSpec> shown;
    std::deque<MessageResult> answers;
};

}  // namespace talvers::testing
