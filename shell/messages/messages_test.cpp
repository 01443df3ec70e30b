#include "shell/messages/messages.h"

#include <gtest/gtest.h>

#include <vector>

namespace talvers {
namespace {

// Records each box and answers with a chosen button (or the default button).
class ScriptedPresenter : public MessagePresenter {
  public:
    MessageResult answer = MessageResult::None;
    std::vector<MessageBoxSpec> shown;
    MessageResult present(const MessageBoxSpec& box) override {
        shown.push_back(box);
        return answer == MessageResult::None ? box.defaultButton : answer;
    }
};

TEST(Messages, KindsGiveTheirBoxesAndResults) {
    ScriptedPresenter p;
    EXPECT_EQ(showMessage(p, "Data", "ignored", 1), 0);
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].text, "Campo obrigatório [Data].");
    EXPECT_EQ(p.shown[0].title, "Informação");
    EXPECT_EQ(p.shown[0].icon, MessageIcon::Warning);

    EXPECT_EQ(showMessage(p, "", "Olá", 2), 0);
    EXPECT_EQ(p.shown[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(p.shown[1].icon, MessageIcon::Information);

    // Enter on kind 3 takes the default button, Cancel.
    EXPECT_EQ(showMessage(p, "", "Continuar?", 3), 2);
    EXPECT_EQ(p.shown[2].buttons, MessageButtons::OkCancel);
    p.answer = MessageResult::Ok;
    EXPECT_EQ(showMessage(p, "", "Continuar?", 3), 1);
    p.answer = MessageResult::No;
    EXPECT_EQ(showMessage(p, "", "Gravar?", 4), 7);
    EXPECT_EQ(p.shown[4].buttons, MessageButtons::YesNo);

    const size_t before = p.shown.size();
    EXPECT_EQ(showMessage(p, "", "x", 0), 0);
    EXPECT_EQ(showMessage(p, "", "x", 5), 0);
    EXPECT_EQ(p.shown.size(), before);
}

TEST(Messages, FailureTextHasItsExactForm) {
    EXPECT_EQ(failureMessageText("X", 91), "Situação Anómala\n\rErro: X  91");
    ScriptedPresenter p;
    showFailure(p, "Disco cheio", 28);
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].text, "Situação Anómala\n\rErro: Disco cheio  28");
    EXPECT_EQ(p.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(p.shown[0].details, "");
}

}  // namespace
}  // namespace talvers
