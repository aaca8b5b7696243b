#!/usr/bin/env python3
"""Writes the demo skill folder and the SP scripts for pasting.

    python3 samples/make_samples.py          write the files (and remove stale ones)
    python3 samples/make_samples.py --check  exit 1 when a file differs or is stale

samples/skill/<class folder>/*.skl holds every demo skill as the unpacking
tool that writes whole folders saves it: the PT form, UTF-8 without a
byte-order mark, CR LF after every line. samples/sp-scripts/*.txt holds the
skills marked SP below once more in the SP form, the text the other unpacking
tool gives, to be pasted into the script box.

Every skill is invented for this project; its keys come from
resources/skill_names.txt and its class folder's list in
resources/class_keys/.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.dont_write_bytecode = True  # keep the source folders free of caches
sys.path.insert(0, os.path.join(ROOT, "tests", "fixtures"))
sys.path.insert(0, os.path.join(ROOT, "resources"))

from make_tables import write_outputs  # noqa: E402
from skill_script import (  # noqa: E402
    Block, Dec, check_links, consume_item, growtype, icon, level_info, level_property, name,
    one_value, read_name_table, render, second_growtype, skill_type, static_data, two_values)

NAME_TABLE = os.path.join(ROOT, "resources", "skill_names.txt")
CLASS_KEYS = os.path.join(ROOT, "resources", "class_keys")
OUT = os.path.join(HERE, "skill")
SP_OUT = os.path.join(HERE, "sp-scripts")


class Sample:
    """One demo skill.

    form: "SP" also writes the skill in the SP form for pasting.
    levels: number of levels; bases and steps: value i of level L (from 0)
    is bases[i] + steps[i] * L, or a tenth of it written as a decimal when i
    is in decimals. entries: the description's (kind, value index, factor)
    triples. pvp: None, or (cool time pair, casting time pair, arena static
    values, arena percentage of the level values). broken_description: the
    entries are fewer than the template's values, so the editor shows its
    description error.
    """

    def __init__(self, folder, file, form, key, text, template, levels=0, bases=(), steps=(),
                 static=(), entries=(), level=10, maximum=None, cost=15, mp=(20, 80),
                 cool=(5000, 3000), cast=(0, 0), mastery=(), second=(), pvp=None,
                 passive=False, item=None, decimals=(), broken_description=False):
        self.__dict__.update(locals())
        del self.__dict__["self"]

    def level_values(self, percent=100):
        values = []
        for level in range(self.levels):
            for i, (base, step) in enumerate(zip(self.bases, self.steps)):
                value = (base + step * level) * percent // 100
                values.append(Dec("%d.%d" % divmod(value, 10)) if i in self.decimals else value)
        return values

    def nodes(self, frame):
        maximum = self.maximum if self.maximum is not None else max(self.levels, 1)
        nodes = [
            name(self.key, self.text),
            skill_type("passive" if self.passive else "active"),
            icon("skill/%s_icon.img" % self.folder, frame),
            one_value("required level", self.level),
            one_value("required level range", 2),
            one_value("maximum level", maximum),
            one_value("purchase cost", self.cost),
        ]
        if self.second:
            nodes.append(second_growtype(self.second))
        if self.mastery:
            nodes.append(growtype(self.mastery))
        if not self.passive:
            nodes += [
                two_values("consume MP", *self.mp),
                two_values("cool time", *self.cool),
                two_values("casting time", *self.cast),
            ]
        if self.item:
            nodes.append(consume_item(*self.item))
        if self.static:
            nodes.append(static_data(self.static))
        if self.levels:
            nodes.append(level_info(len(self.bases), self.level_values()))
        if self.template and self.levels:
            nodes.append(level_property(self.template, "技能描述", self.entries))
        if self.pvp:
            cool, cast, static, percent = self.pvp
            nodes.append(Block(
                "pvp",
                two_values("cool time", *cool),
                two_values("casting time", *cast),
                static_data(static),
                level_info(len(self.bases), self.level_values(percent))))
        return nodes


SAMPLES = [
    # 鬼剑士
    Sample("swordman", "peak_cleave.skl", "PT", "peak_cleave_name", "崩嶽斩",
           "peak_cleave_level_property", 20, (1200, 150, 2), (130, 10, 0), (100, 30),
           [(-1, 0, "0.1"), (-1, 1, "1.0"), (0, 0, "0.01")],
           level=15, maximum=20, cost=25, mp=(30, 120), cool=(6000, 4000), cast=(200, 200),
           mastery=(20, 20, 15, 20, 20),
           pvp=((8000, 6000), (300, 300), (80, 30), 60)),
    Sample("swordman", "phantom_blade_dance.skl", "SP", "name_41002", "幻影剑舞",
           "level_property_41002", 15, (5, 180, 900), (0, 8, 40), (4,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (-1, 2, "1.0")],
           level=30, cost=40, mp=(60, 240), cool=(20000, 15000), cast=(500, 500),
           mastery=(15, 15, 10, 15, 15)),
    Sample("swordman", "earth_rend.skl", "PT", "earth_rend_name", "裂地斩",
           "earth_rend_level_property", 25, (600, 300), (45, 22), (2,),
           [(-1, 0, "1.0"), (-1, 1, "1.0")],
           level=20, cost=20, mp=(25, 100), cool=(7000, 5000),
           mastery=(25, 25, 25, 20, 25)),
    # 黑暗武士
    Sample("demonicswordman", "shadow_chain.skl", "PT", "shadow_chain_name", "暗影连斩",
           "shadow_chain_level_property", 30, (180,), (12,), (5,),
           [(-1, 0, "1.0"), (0, 0, "1.0")],
           level=20, cost=25, mp=(30, 100), cool=(5500, 4000), mastery=(30,)),
    Sample("demonicswordman", "soul_devour_thrust.skl", "SP", "name_45001", "噬魂突刺",
           "level_property_45001", 20, (450, 3), (30, 0), (5000,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (0, 0, "0.001")],
           level=25, cost=30, mp=(40, 160), cool=(9000, 7000), cast=(300, 300), mastery=(20,)),
    # 格斗家(男)
    Sample("atfighter", "rockbreak_fist.skl", "PT", "rockbreak_fist_name", "碎岩拳",
           "rockbreak_fist_level_property", 20, (220, 60, 3), (25, 6, 0), (3,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (-1, 2, "1.0")],
           level=5, cost=10, mp=(10, 40), cool=(2500, 1500), mastery=(20, 20, 20, 15, 20)),
    Sample("atfighter", "armor_crush.skl", "SP", "armor_crush_name", "破甲重击",
           "armor_crush_level_property", 20, (410, 80), (40, 8), (5000,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (0, 0, "0.001")],
           level=15, cost=20, mp=(22, 88), cool=(6000, 4000), mastery=(20, 20, 20, 20, 20),
           pvp=((8000, 6000), (0, 0), (3000,), 70)),
    Sample("atfighter", "throat_lock.skl", "PT", "throat_lock_name", "锁喉擒拿",
           "throat_lock_level_property", 20, (350,), (30,), (1500,),
           [(-1, 0, "1.0"), (0, 0, "0.001")],
           level=10, cost=15, mp=(18, 72), cool=(4000, 2500), mastery=(20, 20, 15, 20, 20)),
    # 格斗家(女)
    Sample("fighter", "swallow_kick.skl", "PT", "swallow_kick_name", "飞燕踢",
           "swallow_kick_level_property", 20, (280, 140), (20, 10), (1,),
           [(-1, 0, "1.0"), (-1, 1, "1.0")],
           level=5, cost=10, mp=(8, 32), cool=(2000, 1200), mastery=(20, 20, 20, 20, 15)),
    Sample("fighter", "gentle_throw.skl", "SP", "name_43001", "柔劲摔投",
           "level_property_43001", 20, (300, 120), (27, 11), (2,),
           [(-1, 0, "1.0"), (-1, 1, "1.0")],
           level=10, cost=15, mp=(16, 64), cool=(5000, 3500), mastery=(20, 20, 20, 15, 20)),
    Sample("fighter", "gale_step.skl", "PT", "gale_step_name", "疾风步",
           "gale_step_level_property", 10, (200,), (5,), (150,),
           [(-1, 0, "1.0"), (0, 0, "1.0")],
           level=1, cost=5, mp=(5, 5), cool=(1000, 1000), mastery=(10, 10, 10, 10, 10)),
    # 神枪手(女)
    Sample("atgunner", "chain_volley.skl", "PT", "chain_volley_name", "连环速射",
           "chain_volley_level_property", 20, (45, 8), (4, 0), (8,),
           [(-1, 0, "1.0"), (-1, 1, "1.0")],
           level=10, cost=15, mp=(12, 60), cool=(3000, 2000), mastery=(20, 20, 20, 20, 15)),
    Sample("atgunner", "rolling_shot.skl", "SP", "name_42001", "翻滚射击",
           "level_property_42001", 20, (120,), (11,), (250,),
           [(0, 0, "1.0"), (-1, 0, "1.0")],
           level=5, cost=10, mp=(10, 30), cool=(3500, 2500), mastery=(20, 15, 20, 20, 20)),
    Sample("atgunner", "precise_shot.skl", "PT", "precise_shot_name", "精准射击",
           "precise_shot_level_property", 10, (2, 3), (1, 1), (1,),
           [(-1, 0, "1.0"), (-1, 1, "1.0")],
           level=15, cost=20, mastery=(10, 10, 10, 10, 10), passive=True),
    # 神枪手(男)
    Sample("gunner", "heavy_barrage.skl", "PT", "heavy_barrage_name", "重炮轰击",
           "heavy_barrage_level_property", 20, (800, 400), (80, 40), (30, 5),
           [(-1, 0, "1.0"), (-1, 1, "1.0")],
           level=25, cost=30, mp=(40, 160), cool=(9000, 7000), cast=(500, 400),
           mastery=(20, 20, 15, 20, 20),
           pvp=((12000, 10000), (700, 600), (20, 3), 60)),
    Sample("gunner", "mine_layer.skl", "SP", "name_47001", "地雷布设",
           "level_property_47001", 20, (520, 3), (35, 0), (20000,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (0, 0, "0.001")],
           level=15, cost=20, mp=(20, 80), cool=(8000, 6000), cast=(400, 400),
           mastery=(20, 20, 20, 15, 20)),
    # 魔法师(男)
    Sample("atmage", "thunder_ring.skl", "PT", "thunder_ring_name", "雷霆之环",
           "thunder_ring_level_property", 20, (330, 15), (24, 1), (3000,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (0, 0, "0.001")],
           level=15, cost=20, mp=(28, 110), cool=(4500, 3000), cast=(300, 300),
           mastery=(20, 20, 15)),
    Sample("atmage", "icicle_scatter.skl", "SP", "name_44001", "冰棱散射",
           "level_property_44001", 20, (140, 5, 10), (10, 0, 1), (1,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (-1, 2, "1.0")],
           level=20, cost=25, mp=(34, 130), cool=(6500, 5000), cast=(400, 400),
           mastery=(20, 15, 20),
           pvp=((9000, 7000), (500, 500), (1,), 70)),
    Sample("atmage", "mana_surge.skl", "PT", "mana_surge_name", "魔力涌动",
           "mana_surge_level_property", 10, (5,), (1,), (30,),
           [(-1, 0, "1.0"), (0, 0, "1.0")],
           level=20, cost=30, mp=(80, 80), cool=(30000, 30000), cast=(800, 800),
           mastery=(10, 10, 10, 10, 10)),
    # 魔法师(女)
    Sample("mage", "flame_nova.skl", "PT", "flame_nova_name", "火焰新星",
           "flame_nova_level_property", 20, (640, 40), (60, 4), (3000,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (0, 0, "0.001")],
           level=20, cost=20, mp=(35, 140), cool=(7000, 5000), cast=(600, 500),
           mastery=(20, 15, 20, 20, 20)),
    Sample("mage", "summon_golem.skl", "SP", "name_48001", "召唤石像",
           "level_property_48001", 15, (4800, 350), (400, 30), (3,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (0, 0, "1.0")],
           level=25, cost=35, mp=(90, 300), cool=(25000, 20000), cast=(1000, 1000),
           mastery=(15, 15, 10, 15, 15)),
    # 缔造者
    Sample("creatormage", "sand_hourglass.skl", "PT", "sand_hourglass_name", "时砂沙漏",
           "sand_hourglass_level_property", 15, (20, 3000), (2, 100), (900,),
           [(-1, 0, "1.0"), (-1, 1, "0.001")],
           level=20, cost=30, mp=(50, 150), cool=(15000, 10000), cast=(500, 500),
           second=(15, 0, 10)),
    Sample("creatormage", "starlight_weave.skl", "SP", "name_49001", "星辉编织",
           "level_property_49001", 20, (380, 3), (28, 0), (6,),
           [(-1, 0, "1.0"), (-1, 1, "1.0")],
           level=15, cost=20, mp=(30, 120), cool=(6000, 4500), cast=(300, 300), mastery=(20,)),
    # 圣职者
    Sample("priest", "holy_verdict.skl", "PT", "holy_verdict_name", "圣光审判",
           "holy_verdict_level_property", 20, (900, 450), (70, 35), (2000,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (0, 0, "0.001")],
           level=25, cost=30, mp=(45, 180), cool=(10000, 8000), cast=(700, 600),
           mastery=(20, 20, 20, 15, 20),
           pvp=((14000, 12000), (900, 800), (1500,), 65)),
    Sample("priest", "guardian_prayer.skl", "SP", "name_46001", "守护祷言",
           None, static=(120, 90), level=30, maximum=20, cost=40,
           mastery=(20, 20, 15, 20, 20), passive=True, item=(3037, 1, 2)),
    # 暗夜使者
    Sample("thief", "shade_veil.skl", "PT", "shade_veil_name", "影遁",
           "shade_veil_level_property", 15, (10,), (2,), (4000,),
           [(0, 0, "0.001"), (-1, 0, "1.0")],
           level=10, cost=15, mp=(20, 60), cool=(12000, 9000), mastery=(15, 15, 15)),
    Sample("thief", "shadow_bind.skl", "SP", "name_50001", "縛影锁",
           "level_property_50001", 20, (1500, 300), (50, 25), (3,),
           [(-1, 0, "0.001"), (-1, 1, "1.0")],
           level=20, cost=25, mp=(30, 110), cool=(8000, 6000), cast=(200, 200),
           mastery=(20, 20, 20)),
    Sample("thief", "venom_blade.skl", "PT", "venom_blade_name", "毒刃投掷",
           "venom_blade_level_property", 20, (150, 30), (15, 3), (6000,),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (0, 0, "0.001")],
           level=10, cost=15, mp=(14, 56), cool=(4000, 2500), mastery=(20, 20, 15)),
    # Every kind of description line: three values on a line, a static and a
    # level value on one line, decimal values, a factor of 0, lines without
    # values.
    Sample("thief", "twin_fang.skl", "SP", "twin_fang_name", "双牙连击",
           "twin_fang_level_property", 20, (120, 90, 150, 30, 25), (10, 8, 12, 3, 5),
           (Dec("40.5"), 1500),
           [(-1, 0, "1.0"), (-1, 1, "1.0"), (-1, 2, "1.0"), (0, 0, "1.0"), (-1, 3, "0.1"),
            (-1, 4, "1.0"), (0, 1, "0.00")],
           level=25, cost=30, mp=(30, 120), cool=(6000, 4000), cast=(200, 200),
           mastery=(20, 20, 20), decimals=(4,),
           pvp=((8000, 6000), (300, 300), (Dec("30.5"), 1200), 70)),
    # Shared by every class, with a class-special mastery section, and a
    # description that asks for more values than its entries give.
    Sample("swordman", "iron_will.skl", "PT", "iron_will_name", "钢铁意志",
           "iron_will_level_property", 10, (3, 10), (1, 2), (5,),
           [(-1, 0, "1.0")],
           level=30, cost=40, second=(0, 10, 10), passive=True, broken_description=True),
]

FOLDERS = ["atfighter", "atgunner", "atmage", "creatormage", "demonicswordman", "fighter",
           "gunner", "mage", "priest", "swordman", "thief"]


def rendered(nodes, form, where):
    text = render(nodes, form)
    if form == "SP":
        assert "[@02]" in text and "\t" not in text, where
    else:
        assert "\t" in text and "[@02]" not in text, where
    return text.encode("utf-8")


def outputs():
    table = read_name_table(NAME_TABLE)
    files = []
    filled = set()
    for frame, sample in enumerate(SAMPLES, 1):
        nodes = sample.nodes(frame)
        where = sample.folder + "/" + sample.file
        check_links(nodes, table, len(sample.static), len(sample.bases), where,
                    sample.broken_description)
        with open(os.path.join(CLASS_KEYS, sample.folder + ".txt"), "rb") as f:
            assert ("<%s>" % sample.key).encode("ascii") in f.read().split(b"\r\n"), where
        assert table[sample.key] == sample.text, where
        # The editor refuses to save the header fields or mastery levels of a
        # skill whose mastery levels stand above its maximum level.
        maximum = sample.maximum if sample.maximum is not None else max(sample.levels, 1)
        assert max(sample.mastery + sample.second, default=0) <= maximum, where
        files.append((os.path.join(OUT, sample.folder, sample.file), rendered(nodes, "PT", where)))
        if sample.form == "SP":
            stem = os.path.splitext(sample.file)[0]
            files.append((os.path.join(SP_OUT, stem + ".txt"), rendered(nodes, "SP", where)))
        filled.add(sample.folder)
    assert filled == set(FOLDERS)
    return files


def stale_files(files):
    """Files in the generated folders that the generator does not write."""
    written = {path for path, _ in files}
    stale = []
    for folder in (OUT, SP_OUT):
        for parent, _, names in os.walk(folder):
            stale += [os.path.join(parent, n) for n in names
                      if os.path.join(parent, n) not in written]
    return sorted(stale)


def main(argv):
    files = outputs()
    stale = stale_files(files)
    for path in stale:
        if "--check" in argv[1:]:
            print("not written by the generator: " + os.path.relpath(path, HERE), file=sys.stderr)
        else:
            os.remove(path)
    code = write_outputs(files, argv, HERE)
    return 1 if stale and "--check" in argv[1:] else code


if __name__ == "__main__":
    sys.exit(main(sys.argv))
