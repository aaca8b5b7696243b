#include "engine/write_messages.h"

#include "platform/gbk.h"

using platform::Gbk;

std::string CommonRefusalMessage(Refusal refusal) {
  switch (refusal) {
    case Refusal::ForbiddenCharacter:
      return Gbk("输入的数据不能包含制表符或换行符！");
    case Refusal::OutOfRange:
      return Gbk("修改后的数值超出整数范围，脚本没有改变！");
    case Refusal::CountMismatch:
      return Gbk("表格与脚本的数据个数不一致，脚本没有改变！");
    case Refusal::NoLevelTable:
      return Gbk("请先加载一个技能数据！");
    default:
      return Gbk("未找到要修改的数据，脚本没有改变！");
  }
}

std::string LevelRefusalMessage(Refusal refusal, ModifyMode mode, ScriptForm form) {
  switch (refusal) {
    case Refusal::EmptyBase:
      return Gbk(form == ScriptForm::Sp ? "技能1级数据不能为空！" : "技能1级数据不能为空！！");
    case Refusal::NotNumber:
      return Gbk("【倍率】修改方式只支持输入数字！");
    case Refusal::DecimalValue:
      return Gbk("该数据含有小数，请用【倍率】修改方式修改！");
    case Refusal::DecimalBase:
      return Gbk("【递增】修改方式的1级数值不能为小数！");
    case Refusal::NotInteger:
      switch (mode) {
        case ModifyMode::Add:
          return Gbk("【增加】修改方式只支持输入整数！");
        case ModifyMode::Assign:
          return Gbk("【等于】修改方式只支持输入整数！");
        case ModifyMode::Increment:
          return Gbk("【递增】修改方式只支持输入整数！");
        case ModifyMode::Ratio:
          return Gbk("【倍率】修改方式只有动态数据倍率支持小数！");
      }
      break;
    default:
      break;
  }
  return CommonRefusalMessage(refusal);
}

std::string StaticRefusalMessage(Refusal refusal) {
  if (refusal == Refusal::NotInteger) return Gbk("静态数据只支持输入整数！");
  return CommonRefusalMessage(refusal);
}

std::string LevelRangeMessage(RangeCheck check) {
  switch (check) {
    case RangeCheck::NotInteger:
      return Gbk("等级区间请输入整数！");
    case RangeCheck::Reversed:
      return Gbk("要修改的技能等级区间设置错误！");
    case RangeCheck::OutsideLevels:
      return Gbk("请把等级区间设在技能的等级之内！");
    case RangeCheck::Fine:
      break;
  }
  return {};
}

RefusalLines HeaderRefusalLines(Refusal refusal) {
  switch (refusal) {
    case Refusal::MaximumBelowMastery:
      return {Gbk("最大等级不能小于技能的精通等级！"), {}};
    case Refusal::NotInteger:
      return {Gbk("技能参数只支持输入整数！"), {}};
    case Refusal::NotNumber:
      return {Gbk("技能参数只支持输入数字！"), {}};
    case Refusal::EmptyValue:
      return {Gbk("技能参数不能为空，请输入数值！"), {}};
    default:
      return {CommonRefusalMessage(refusal), {}};
  }
}

RefusalLines MasteryRefusalLines(Refusal refusal) {
  switch (refusal) {
    case Refusal::MasteryAboveMaximum:
      return {Gbk("精通等级不能大于技能的最大等级！"),
              Gbk("注意:最大等级不要大于技能的动态数据等级")};
    case Refusal::NotInteger:
      return {Gbk("精通等级只支持输入整数！"), {}};
    default:
      return {CommonRefusalMessage(refusal), {}};
  }
}
