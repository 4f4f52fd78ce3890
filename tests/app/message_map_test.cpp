#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command.h"
#include "support/headless_form.h"

namespace brindlock {
namespace {

constexpr uint32_t kWmCopyData = 0x4A;
constexpr uint32_t kCmDialogKey = 0xB005;

class MessageMap : public ::testing::Test {
protected:
    MessageMap() {
        form.DefaultHandler = [this](TMessage& m) { passedOn.push_back(m.Msg); };
    }

    TMessage Send(uint32_t msg, uintptr_t wParam, intptr_t lParam = 0) {
        TMessage m;
        m.Msg = msg;
        m.WParam = wParam;
        m.LParam = lParam;
        form.Dispatch(m);
        return m;
    }

    test::HeadlessForm env;
    TForm1& form = env.Create();
    std::vector<uint32_t> passedOn;
};

TEST_F(MessageMap, OtherMessagesGoToTheInheritedHandling) {
    EXPECT_EQ(Send(0x0010, 0).Result, 0);
    EXPECT_EQ(passedOn, std::vector<uint32_t>{0x0010});
}

TEST_F(MessageMap, CopyDataIsTakenAsACommandAndNotPassedOn) {
    const std::string packet = "O|C:\\docs\\$a.pdf|C:\\docs\\$b.pdf";
    CopyDataView data{1, static_cast<uint32_t>(packet.size() + 1), packet.c_str()};
    const TMessage m = Send(kWmCopyData, 0, reinterpret_cast<intptr_t>(&data));
    EXPECT_EQ(m.Result, 0);
    EXPECT_TRUE(passedOn.empty());
    EXPECT_EQ(form.JobFiles, std::vector<std::string>{"C:\\docs\\$a.pdf"});
    EXPECT_TRUE(form.OpenMode);

    const TMessage empty = Send(kWmCopyData, 0, 0);  // no structure at all
    EXPECT_EQ(empty.Result, 0);
    EXPECT_EQ(form.JobFiles, std::vector<std::string>{"C:\\docs\\$a.pdf"});
}

TEST_F(MessageMap, EnterIsHandledOnlyWhileOkOrCloseIsShown) {
    struct Case {
        bool done, close;
        uintptr_t wParam;
        intptr_t result;
    };
    const Case cases[] = {
        {false, false, 13, 0},
        {true, false, 13, 1},
        {false, true, 13, 1},
        // Only the low 16 bits carry the key.
        {true, false, 0x10000 | 13, 1},
        {true, true, 'A', 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.done << c.close << c.wParam);
        passedOn.clear();
        form.ButtonDone.SetVisible(c.done);
        form.ButtonClose.SetVisible(c.close);
        EXPECT_EQ(Send(kCmDialogKey, c.wParam).Result, c.result);
        EXPECT_EQ(passedOn.empty(), c.result == 1);
    }
}

TEST_F(MessageMap, EscapeIsAlwaysHandled) {
    for (bool panel : {false, true}) {
        passedOn.clear();
        form.PanelPwd.SetVisible(panel);
        EXPECT_EQ(Send(kCmDialogKey, 27).Result, 1);
        EXPECT_TRUE(passedOn.empty());
    }
}

TEST_F(MessageMap, EnterSubmitsThePasswordAndEscapeAbortsAndHides) {
    form.JobFiles = {"C:\\a.txt"};
    form.JobCount = 1;
    form.StartJob();  // no password held: the panel comes up
    ASSERT_TRUE(form.PanelPwd.Visible());
    form.EditPwd.UserEdited("secret");
    EXPECT_EQ(Send(kCmDialogKey, 13).Result, 1);
    EXPECT_EQ(form.Password, "secret");
    EXPECT_FALSE(form.PanelPwd.Visible());

    form.Show();
    EXPECT_EQ(Send(kCmDialogKey, 27).Result, 1);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.AbortRequested);
}

}  // namespace
}  // namespace brindlock
