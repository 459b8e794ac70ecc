"""The game library's folders are layers: a file includes only headers of
its own folder and of the folders below it, in the order the build's
GAME_LAYERS names them (recording/ stands on all of them)."""
import os
import re
import sys
import unittest

SRC = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src')
CMAKE = os.path.join(SRC, '..', 'cmake', 'game_library.cmake')
INCLUDE = re.compile(r'^#include "([a-z_]+)/([a-z_]+\.h)"', re.M)


def read(path):
    with open(path) as f:
        return f.read()


def layer_order():
    text = read(CMAKE)
    names = re.search(r'set\(GAME_LAYERS ([a-z_ ]+)\)', text).group(1).split()
    return ['maths'] + names + ['recording']


def includes_upward(order):
    """(file, included header) for every include of a higher layer's header."""
    rank = {name: i for i, name in enumerate(order)}
    wrong = []
    for folder in sorted(os.listdir(SRC)):
        path = os.path.join(SRC, folder)
        for name in sorted(os.listdir(path)):
            for m in INCLUDE.finditer(read(os.path.join(path, name))):
                target = m.group(1)
                if target not in rank or rank[target] > rank[folder]:
                    wrong.append((f'{folder}/{name}', f'{target}/{m.group(2)}'))
    return wrong


class Layers(unittest.TestCase):
    def test_every_folder_is_a_layer(self):
        self.assertEqual(sorted(layer_order()), sorted(os.listdir(SRC)))

    def test_no_file_includes_a_higher_layer(self):
        self.assertEqual(includes_upward(layer_order()), [])


if __name__ == '__main__':
    sys.exit(unittest.main())
