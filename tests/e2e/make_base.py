#!/usr/bin/env python3
"""Writes the small phrase base of the end-to-end test into a folder."""
import os
import sys

folder = sys.argv[1]
files = {
    "Base/Words.Dat": ["ТЕСТ^Таблица;",
                       "ДО СВИДАНИЯ^До встречи!;@",
                       "ПРИВЕТ^Здравствуй, человек!;",
                       "КАК ДЕЛА^Хорошо, спасибо.;"],
    "Base/W1.Dat": ["Не знаю, что ответить."],
    "Base/W2.Dat": ["Интересно."],
    "Base/X.Dat": ["Не надо грубить."],
    "Base/Povtor.Dat": ["Ты это уже говорил."],
    "Base/BigString.Dat": ["Как много слов."],
    "Base/CPUpvt.dat": ["(ещё раз)"],
    "Base/AI.dat": ["ноль", "Я слушаю."],
    "Base/Pause.Dat": ["Ты здесь?"],
    "Base/Begin.dat": ["Привет-привет!"],
    "Base/dictionary.dat": ["приветливый", "кошка"],
    "Base/Collection.Dat": [],
    "Base/Log.Dralen": [],
}
for name, lines in files.items():
    path = os.path.join(folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("cp1251"))
