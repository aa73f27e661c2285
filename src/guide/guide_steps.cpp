#include "guide/guide_steps.h"

#include "app/forms_registry.h"
#include "guide/frm_guide.h"
#include "version.h"

#include <QCheckBox>
#include <QPlainTextEdit>

namespace drillpad {

namespace {

std::int16_t currentStep = 0;

constexpr const char *kStepHints[] = {
    "第一步:选择你所需要的出题类型,没选择的类型将不会被包含在出的题中",
    "第二步:请选择你所需要的出题类型的数值范围,你可以在下拉框中选择一个数,"
    "也可以直接在下拉框编辑框中"
    "输入一个数.如果下拉框显示为灰色不可编辑状态,是因为第一步中你没有选择这种类型",
    "第三步:请选择你所选择的出题类型中每种类型所出题的数量,输入后单击[完成]按钮,"
    "系统将给你出出相应数量"
    "的题目,如果文本框显示为灰色不可编辑状态,是因为第一步中你没有选择这种类型",
    "恭喜你,出题成功!你可以单击[上一步]修改你的设置,也可以单击[复位]而重新出题",
};

// Step 5 is only passed through: no refresh ever shows this text.
constexpr const char *kErrorHint =
    "有错误发生,错误代码0001.请和作者联系,并将错误代码提供给作者,客服电邮:";

} // namespace

std::int16_t guideStep() {
    return currentStep;
}

void setGuideStep(std::int16_t step) {
    currentStep = step;
}

std::optional<QString> stepHintText(int step) {
    if (step >= 1 && step <= 4)
        return QString::fromUtf8(kStepHints[step - 1]);
    if (step == 5)
        return QString::fromUtf8(kErrorHint) + QString::fromUtf8(product::kAuthorMail);
    return std::nullopt;
}

void ShowStepHint(FrmGuide &guide) {
    if (const std::optional<QString> hint = stepHintText(guideStep()))
        guide.txtGuideHelp()->setPlainText(*hint);
}

void EnableTypeControls(FrmGuide &guide) {
    for (int index = 0; index < kQuestionTypeCount; ++index) {
        const auto type = static_cast<QuestionType>(index);
        const bool ticked = guide.typeCheck(type)->isChecked();
        for (const GuideField field : {GuideField::From, GuideField::To, GuideField::Count})
            guide.entryBox(type, field)->setEnabled(ticked);
    }
}

void ShowStepHint() {
    ShowStepHint(frmGuide());
}

void EnableTypeControls() {
    EnableTypeControls(frmGuide());
}

} // namespace drillpad
