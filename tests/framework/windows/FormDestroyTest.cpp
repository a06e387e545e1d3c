#include "tests/support/HeadlessApp.h"

#include <string>
#include <vector>

namespace {

// What each OnDestroy found of its form's own members.
std::vector<std::string> GSeen;

// A form whose OnDestroy handler reads members of the derived class, as a form that stores its
// settings when it goes does; its destructor empties them.
class TNotebookForm : public TForm
{
public:
    explicit TNotebookForm(TComponent* AOwner) : TForm(AOwner)
    {
        OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };
    }
    ~TNotebookForm() override
    {
        Pages.clear();
        Open = false;
    }

    std::vector<std::string> Pages{"first", "second"};
    bool Open = true;

private:
    void FormDestroy(TObject* Sender)
    {
        std::string Found = Sender == this && Open ? "open" : "closed";
        for (const std::string& Page : Pages)
            Found += " " + Page;
        GSeen.push_back(Found);
    }
};

enum TEnding
{
    EndWithTheApplication,
    EndByDelete,
    EndByRelease,
    EndByCloseWithCaFree
};

class FormDestroy : public HeadlessAppTest, public testing::WithParamInterface<TEnding>
{
protected:
    void SetUp() override
    {
        HeadlessAppTest::SetUp();
        GSeen.clear();
        App->CreateForm(MainForm); // the main form: closing it would end the run instead
    }

    TForm* MainForm = nullptr;
};

TEST_P(FormDestroy, RunsOnceWhileTheDerivedFormIsWhole)
{
    auto* Form = new TNotebookForm(App.get());
    Form->Show();
    switch (GetParam()) {
    case EndWithTheApplication:
        App.reset();
        break;
    case EndByDelete:
        delete Form;
        break;
    case EndByRelease:
        Form->Release();
        EXPECT_TRUE(GSeen.empty()); // not before the message is handled
        App->ProcessMessages();
        break;
    case EndByCloseWithCaFree:
        Form->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
        Form->Close();
        App->ProcessMessages();
        break;
    }
    EXPECT_EQ(GSeen, std::vector<std::string>{"open first second"});
}

std::string EndingName(const testing::TestParamInfo<TEnding>& Info)
{
    static const char* const Names[] = {"WithTheApplication", "ByDelete", "ByRelease",
                                        "ByCloseWithCaFree"};
    return Names[Info.param];
}

INSTANTIATE_TEST_SUITE_P(Endings, FormDestroy,
                         testing::Values(EndWithTheApplication, EndByDelete, EndByRelease,
                                         EndByCloseWithCaFree),
                         EndingName);

} // namespace
