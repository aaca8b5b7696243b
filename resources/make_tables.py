#!/usr/bin/env python3
"""Writes the embedded name table and the eleven class key lists of Varnok.

    python3 resources/make_tables.py          write skill_names.txt and class_keys/*.txt
    python3 resources/make_tables.py --check  exit 1 when a committed file differs

Every skill below is invented for this project. The outputs are GBK (code
page 936) with CR LF between lines and no line break after the last one; the
generator is deterministic (same input, same bytes) and checks the format
before it writes anything.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
NAME_TABLE = os.path.join(HERE, "skill_names.txt")
CLASS_KEY_DIR = os.path.join(HERE, "class_keys")

# The eleven class key lists: short id, class folder (the file name), the
# list's Chinese name. Listed in the order of the class rules' table.
CLASS_LISTS = [
    ("FM", "atfighter", "格斗家(男)"),
    ("GF", "atgunner", "神枪手(女)"),
    ("SW", "swordman", "鬼剑士"),
    ("FF", "fighter", "格斗家(女)"),
    ("GM", "gunner", "神枪手(男)"),
    ("MM", "atmage", "魔法师(男)"),
    ("MF", "mage", "魔法师(女)"),
    ("DK", "demonicswordman", "黑暗武士"),
    ("CR", "creatormage", "缔造者"),
    ("PR", "priest", "圣职者"),
    ("TH", "thief", "暗夜使者"),
]
ALL_LISTS = [short for short, _, _ in CLASS_LISTS]

# The sixteen class rules in their order: the lists that must all hold a key,
# and the class caption they give.
CLASS_RULES = [
    (("FM", "GF", "SW"), "全职业通用技能"),
    (("FM", "FF"), "格斗家(男/女)"),
    (("GF", "GM"), "神枪手(男/女)"),
    (("MM", "MF"), "魔法师(男/女)"),
    (("DK", "SW"), "鬼剑士/黑暗武士"),
    (("FM",), "格斗家(男)"),
    (("GF",), "神枪手(女)"),
    (("MM",), "魔法师(男)"),
    (("CR",), "缔造者"),
    (("DK",), "黑暗武士"),
    (("FF",), "格斗家(女)"),
    (("GM",), "神枪手(男)"),
    (("MF",), "魔法师(女)"),
    (("PR",), "圣职者"),
    (("SW",), "鬼剑士"),
    (("TH",), "暗夜使者"),
]


class Skill:
    """One skill of the table.

    base: either a word ("peak_cleave": keys peak_cleave_name,
    peak_cleave_name2, peak_cleave_level_property) or a number ("41002": keys
    name_41002, name2_eng_41002, level_property_41002).
    template: the description, "<int>" for each value and the two characters
    backslash and n between its lines; None for a skill without one.
    """

    def __init__(self, base, name, english, template, lists, explain=None):
        self.base = base
        self.name = name
        self.english = english
        self.template = template
        self.lists = lists
        self.explain = explain

    @property
    def numbered(self):
        return self.base.isdigit()

    @property
    def name_key(self):
        return "name_" + self.base if self.numbered else self.base + "_name"

    @property
    def english_key(self):
        return "name2_eng_" + self.base if self.numbered else self.base + "_name2"

    @property
    def template_key(self):
        if self.numbered:
            return "level_property_" + self.base
        return self.base + "_level_property"


# Class groups of the table, each with its skills. The templates are raw
# strings: "\n" in them is the two characters backslash and n.
GROUPS = [
    ("鬼剑士", [
        Skill("peak_cleave", "崩嶽斩", "Peak Cleave",
              r"挥剑劈开山嶽，造成<int>%的物理伤害\n冲击波范围：<int>\n击倒时间：<int>秒",
              ["SW"], ("41001", "蓄力后向前劈出巨大的剑气，击倒前方的敌人。")),
        Skill("41002", "幻影剑舞", "Phantom Blade Dance",
              r"斩击次数：<int>次\n每次斩击伤害：<int>%\n最后一击伤害：<int>%",
              ["SW"], ("41003", "化作残影在敌群中穿梭斩击，最后一击将敌人击飞。")),
        Skill("earth_rend", "裂地斩", "Earth Rend",
              r"地裂伤害：<int>%\n震荡波伤害：<int>%",
              ["SW", "DK"]),
        Skill("iron_will", "钢铁意志", "Iron Will",
              r"霸体持续时间：<int>秒\n受到的伤害减少<int>%",
              ["FM", "GF", "SW"]),
    ]),
    ("黑暗武士", [
        Skill("shadow_chain", "暗影连斩", "Shadow Chain",
              r"连斩伤害：<int>%\n最大连斩数：<int>",
              ["DK"]),
        Skill("45001", "噬魂突刺", "Soul Devour Thrust",
              r"突刺伤害：<int>%\n生命吸收：<int>%\n吸收持续时间：<int>秒",
              ["DK", "PR"]),
    ]),
    ("格斗家(男)", [
        Skill("rockbreak_fist", "碎岩拳", "Rockbreak Fist",
              r"拳击伤害：<int>%\n碎石伤害：<int>%  碎石数量：<int>个",
              ["FM"], ("42101", "一拳击碎地面的岩石，飞溅的碎石会伤害周围的敌人。")),
        Skill("armor_crush", "破甲重击", "Armor Crush",
              r"重击伤害：<int>%\n物理防御降低：<int>\n减益持续时间：<int>秒",
              ["FM", "SW"]),
        Skill("throat_lock", "锁喉擒拿", "Throat Lock",
              r"擒拿伤害：<int>%\n束缚时间：<int>秒",
              ["FM", "FF"]),
        Skill("dual_parry", "双持格挡", "Dual Parry",
              r"成功格挡后立即反击一次\n反击不会被打断",
              ["FM", "GF"]),
    ]),
    ("格斗家(女)", [
        Skill("swallow_kick", "飞燕踢", "Swallow Kick",
              r"踢击伤害：<int>%\n空中追击伤害：<int>%",
              ["FF"]),
        Skill("43001", "柔劲摔投", "Gentle Throw",
              r"摔投伤害：<int>%\n落地冲击伤害：<int>%",
              ["FF"]),
        Skill("gale_step", "疾风步", "Gale Step",
              r"移动距离：<int>\n无敌时间：<int>毫秒",
              ALL_LISTS, ("43101", "向前快速滑步，滑步途中不会受到伤害。")),
    ]),
    ("神枪手(女)", [
        Skill("chain_volley", "连环速射", "Chain Volley",
              r"每发子弹伤害：<int>%\n射击次数：<int>发",
              ["GF"]),
        Skill("42001", "翻滚射击", "Rolling Shot",
              r"翻滚距离：<int>\n射击伤害：<int>%",
              ["GF"]),
        Skill("precise_shot", "精准射击", "Precise Shot",
              r"暴击率增加<int>%\n命中率增加<int>%",
              ["GF", "GM"]),
    ]),
    ("神枪手(男)", [
        Skill("heavy_barrage", "重炮轰击", "Heavy Barrage",
              r"炮弹伤害：<int>%\n炮击后炮管进入过热状态\n爆炸伤害：<int>%\n冷却完成前无法再次装填",
              ["GM"]),
        Skill("47001", "地雷布设", "Mine Layer",
              r"地雷伤害：<int>%\n地雷数量：<int>个\n地雷持续时间：<int>秒",
              ["GM"]),
    ]),
    ("魔法师(男)", [
        Skill("thunder_ring", "雷霆之环", "Thunder Ring",
              r"雷环伤害：<int>%\n感电几率：<int>%\n感电持续时间：<int>秒",
              ["MM"]),
        Skill("44001", "冰棱散射", "Icicle Scatter",
              r"冰棱伤害：<int>%\n冰棱数量：<int>个\n冰冻几率：<int>%",
              ["MM"]),
        Skill("mana_surge", "魔力涌动", "Mana Surge",
              r"魔法攻击力增加<int>%\n持续时间：<int>秒",
              ["MM", "MF"]),
    ]),
    ("魔法师(女)", [
        Skill("flame_nova", "火焰新星", "Flame Nova",
              r"爆炸伤害：<int>%\n灼烧伤害：<int>\n灼烧持续时间：<int>秒",
              ["MF"]),
        Skill("48001", "召唤石像", "Summon Golem",
              r"石像生命值：<int>\n石像攻击力：<int>\n召唤数量上限：<int>",
              ["MF"]),
    ]),
    ("缔造者", [
        Skill("sand_hourglass", "时砂沙漏", "Sand Hourglass",
              r"减速效果：<int>%\n沙漏持续时间：<int>秒",
              ["CR"]),
        Skill("49001", "星辉编织", "Starlight Weave",
              r"星辉伤害：<int>%\n编织数量：<int>",
              ["CR"]),
    ]),
    ("圣职者", [
        Skill("holy_verdict", "圣光审判", "Holy Verdict",
              r"审判之锤伤害：<int>%\n圣光冲击伤害：<int>%\n眩晕时间：<int>秒",
              ["PR"]),
        Skill("46001", "守护祷言", "Guardian Prayer",
              r"物理防御增加<int>\n魔法防御增加<int>",
              ["PR"]),
    ]),
    ("暗夜使者", [
        Skill("shade_veil", "影遁", "Shade Veil",
              r"隐身持续时间：<int>秒\n移动速度增加<int>%",
              ["TH"]),
        Skill("50001", "縛影锁", "Shadow Bind",
              r"束缚时间：<int>秒\n锁链伤害：<int>%",
              ["TH"]),
        Skill("venom_blade", "毒刃投掷", "Venom Blade",
              r"飞刃伤害：<int>%\n中毒伤害：<int>\n中毒持续时间：<int>秒",
              ["TH"]),
        # Every kind of description line: three values on one line, a static
        # and a level value on one line, a decimal level value, a factor of
        # 0, and lines without values between and after them.
        Skill("twin_fang", "双牙连击", "Twin Fang",
              r"第一击：<int>%  第二击：<int>%  第三击：<int>%\n"
              r"出血伤害：<int>  每层叠加：<int>\n"
              r"攻击速度增加：<int>%\n"
              r"施放期间无法移动\n"
              r"霸体时间：<int>秒\n"
              r"觉醒后出血可叠加",
              ["TH"]),
    ]),
]

# A key that a class list holds and the name table does not.
KEY_ONLY_IN_LIST = ("lost_oath_name", "SW")
# A key that its list holds twice (a repeated line).
REPEATED_LIST_KEY = ("shade_veil_name", "TH")
# A comment row, placed before the group of its key, that holds the bracketed
# key of a later data row; the data row is the one that names the skill.
COMMENT_WITH_KEY = "<// 旧版名称 <iron_will_name>不屈斗志，已改名"
# A comment row, placed before the group of its key, that holds the
# bracketed key of a later description template.
COMMENT_WITH_TEMPLATE_KEY = "<// 旧版描述 <twin_fang_level_property>双击伤害：<int>%"
# Rows of the other kinds: key hints, a cancel name, a row without text.
EXTRA_ROWS = [
    ("command_key_explain_gale_step", "连按两次方向键发动"),
    ("name_cancel_gale_step", "强制 - 疾风步"),
    ("at_name_shadow_chain", "暗影连斩（觉醒）"),
    ("unused_hotkey_command", ""),
]


def skills():
    for _, group in GROUPS:
        yield from group


def name_table_lines():
    lines = [
        "<// Varnok 技能名称表：每行为键及其显示名称、英文名称、说明或描述模板",
        "<// 描述模板中的 int 占位符各代表一个数值，两个字符 \\n 表示换行",
        "<",
    ]
    for title, group in GROUPS:
        lines.append("<// ---- " + title + " ----")
        if any(s.name_key == "iron_will_name" for s in group):
            lines.append(COMMENT_WITH_KEY)
        if any(s.template_key == "twin_fang_level_property" for s in group):
            lines.append(COMMENT_WITH_TEMPLATE_KEY)
        for s in group:
            lines.append("<%s>%s" % (s.name_key, s.name))
            lines.append("<%s>%s" % (s.english_key, s.english))
            if s.template is not None:
                lines.append("<%s>%s" % (s.template_key, s.template))
            if s.explain is not None:
                lines.append("<explain_%s>%s" % s.explain)
        lines.append("<")
    lines.append("<// ---- 其他 ----")
    for key, text in EXTRA_ROWS:
        lines.append("<%s>%s" % (key, text))
    lines.append("<")
    lines.append("<// 表尾")
    return lines


def class_key_lines():
    """The lines of each class key list, by short id."""
    result = {short: [] for short in ALL_LISTS}
    for s in skills():
        for short in s.lists:
            result[short].append("<%s>" % s.name_key)
    key, short = KEY_ONLY_IN_LIST
    result[short].append("<%s>" % key)
    key, short = REPEATED_LIST_KEY
    result[short].append("<%s>" % key)
    return result


def encode(lines):
    text = "\r\n".join(lines)
    data = text.encode("gbk")
    # Decoding must give the same text back: no character may depend on the
    # code page's variant.
    assert data.decode("gbk") == text
    return data


DATA_ROW = re.compile(r"^<([A-Za-z0-9_]+)>(.*)$")


def check_name_table(lines):
    keys = {}
    for number, line in enumerate(lines, 1):
        assert line.startswith("<"), (number, line)
        assert "\t" not in line and "\0" not in line and "\r" not in line and "\n" not in line
        assert "€" not in line
        if line == "<" or line.startswith("<//"):
            continue
        m = DATA_ROW.match(line)
        assert m, (number, line)
        key, text = m.group(1), m.group(2)
        assert key not in keys, ("key twice", key)
        keys[key] = text
        if "name" in key:
            assert ">" not in text, ("a name row holds '>'", key)
    return keys


def first_rule(key, lists):
    bracketed = "<%s>" % key
    for index, (needed, _) in enumerate(CLASS_RULES):
        if all(bracketed in lists[short] for short in needed):
            return index
    return None


def check_class_lists(lists, table_keys):
    assert set(lists) == set(ALL_LISTS)
    seen_rules = set()
    repeated = False
    absent = False
    texts = {s: "\r\n".join(lines) for s, lines in lists.items()}
    for short in ALL_LISTS:
        entries = lists[short]
        assert entries, short
        for line in entries:
            assert re.fullmatch(r"<[A-Za-z0-9_]+>", line), (short, line)
        if len(entries) != len(set(entries)):
            repeated = True
        for line in entries:
            key = line[1:-1]
            rule = first_rule(key, texts)
            assert rule is not None, key
            seen_rules.add(rule)
            if key not in table_keys:
                absent = True
    assert seen_rules == set(range(len(CLASS_RULES))), sorted(seen_rules)
    assert repeated and absent


def outputs():
    """Every output file with its bytes, in a fixed order."""
    table = name_table_lines()
    table_keys = check_name_table(table)
    for s in skills():
        assert s.name_key in table_keys and s.english_key in table_keys
    lists = class_key_lines()
    check_class_lists(lists, table_keys)
    files = [(NAME_TABLE, encode(table))]
    for short, folder, _ in CLASS_LISTS:
        files.append((os.path.join(CLASS_KEY_DIR, folder + ".txt"), encode(lists[short])))
    return files


def write_outputs(outputs, argv, root):
    """Writes every (path, bytes) pair, or with --check in argv only reports
    the files that differ from what would be written; returns the exit code."""
    check = "--check" in argv[1:]
    stale = []
    for path, data in outputs:
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(path)
            except OSError:
                stale.append(path)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    for path in stale:
        print("out of date: " + os.path.relpath(path, root), file=sys.stderr)
    return 1 if stale else 0


def main(argv):
    return write_outputs(outputs(), argv, HERE)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
