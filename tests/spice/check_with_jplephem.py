"""Reads kova's SPK and CK with jplephem's DAF reader and checks them against what was given.

Usage: check_with_jplephem.py DIRECTORY (with pass.bsp, pass.bc, comments.txt, expected.txt).
The epochs, clock times and quaternions are recomputed here from the tags and the packet
values with the same double operations, so they must match bit for bit.
"""
import math
import os
import sys

from jplephem.daf import DAF


def ephemeris_time(seconds, count):
    tdt = float(seconds - 1325419200) + count * 1.52e-05 + 32.184
    m = 6.239996 + 1.99096871e-7 * tdt
    return tdt + 1.657e-3 * math.sin(m + 1.671e-2 * math.sin(m))


def read_expected(path):
    name, segments = None, []
    with open(path) as text:
        for line in text:
            fields = line.split()
            if fields[0] == 'name':
                name = line[len('name '):].rstrip('\n')
            elif fields[0] == 'segment':
                segments.append([])
            else:
                segments[-1].append((int(fields[1]), int(fields[2])) + tuple(float(f) for f in fields[3:]))
    return name, segments


def check(condition, what):
    if not condition:
        print('FAILED: ' + what)
        sys.exit(1)


def check_file(daf, path, id_word, name, comments, count):
    check(daf.locidw == id_word, 'id word %r' % daf.locidw)
    check((daf.nd, daf.ni) == (2, 6), 'ND, NI')
    check(daf.locfmt == b'LTL-IEEE', 'format %r' % daf.locfmt)
    check(daf.locifn_text.decode('ascii') == name, 'internal name %r' % daf.locifn_text)
    check(daf.comments() == comments, 'comment area differs')
    size = os.path.getsize(path)
    check(size == 1024 * ((daf.free - 1 + 127) // 128), 'file size %d for FREE %d' % (size, daf.free))
    summaries = list(daf.summaries())
    check(len(summaries) == count, '%d summaries' % len(summaries))
    return summaries


def main(directory):
    name, segments = read_expected(os.path.join(directory, 'expected.txt'))
    with open(os.path.join(directory, 'comments.txt')) as text:
        comments = text.read()
    n = len(segments)

    path = os.path.join(directory, 'pass.bsp')
    with open(path, 'rb') as f:
        daf = DAF(f)
        summaries = check_file(daf, path, b'DAF/SPK', name, comments, n)
        address = None
        for k, ((segment_name, values), records) in enumerate(zip(summaries, segments)):
            count = len(records)
            epochs = [ephemeris_time(r[0], r[1]) for r in records]
            check(segment_name == ('kova stretch %d of %d' % (k + 1, n)).encode(), 'SPK name %r' % segment_name)
            start, end, target, centre, frame, kind, first, last = values
            check((start, end) == (epochs[0], epochs[-1]), 'SPK segment %d times' % k)
            check((target, centre, frame, kind) == (-190957, 399, 1, 13), 'SPK segment %d ids' % k)
            check(address is None or first == address, 'SPK segment %d not contiguous' % k)
            check(last - first + 1 == 7 * count + (count - 1) // 100 + 2, 'SPK segment %d size' % k)
            address = last + 1
            words = list(daf.read_array(first, last))
            for i, r in enumerate(records):
                check(words[6 * i:6 * i + 6] == [v / 1000.0 for v in r[2:8]], 'SPK state %d of segment %d' % (i, k))
            check(words[6 * count:7 * count] == epochs, 'SPK epochs of segment %d' % k)
            directory_words = [epochs[i - 1] for i in range(100, count, 100)]
            check(words[7 * count:-2] == directory_words, 'SPK epoch directory of segment %d' % k)
            check(words[-2:] == [1.0, float(count)], 'SPK window and count of segment %d' % k)
        check(daf.free == address, 'SPK FREE')

    path = os.path.join(directory, 'pass.bc')
    with open(path, 'rb') as f:
        daf = DAF(f)
        summaries = check_file(daf, path, b'DAF/CK', name, comments, n)
        for k, ((segment_name, values), records) in enumerate(zip(summaries, segments)):
            count = len(records)
            times = [float(r[0] * 10000000 + 152 * r[1]) for r in records]
            check(segment_name == ('kova stretch %d of %d' % (k + 1, n)).encode(), 'CK name %r' % segment_name)
            start, end, ck_id, frame, kind, rates, first, last = values
            check((start, end) == (times[0], times[-1]), 'CK segment %d times' % k)
            check((ck_id, frame, kind, rates) == (-190957000, 1, 3, 0), 'CK segment %d ids' % k)
            check(last - first + 1 == 5 * count + (count - 1) // 100 + 3, 'CK segment %d size' % k)
            words = list(daf.read_array(first, last))
            for i, r in enumerate(records):
                q1, q2, q3, q4 = r[8:12]
                norm = math.sqrt(q1 * q1 + q2 * q2 + q3 * q3 + q4 * q4)
                check(words[4 * i:4 * i + 4] == [q4 / norm, -q1 / norm, -q2 / norm, -q3 / norm],
                      'CK quaternion %d of segment %d' % (i, k))
            check(words[4 * count:5 * count] == times, 'CK times of segment %d' % k)
            directory_words = [times[i - 1] for i in range(100, count, 100)]
            check(words[5 * count:-3] == directory_words, 'CK time directory of segment %d' % k)
            check(words[-3:] == [times[0], 1.0, float(count)], 'CK interval of segment %d' % k)
    print('jplephem read %d segments of the SPK and of the CK' % n)


if __name__ == '__main__':
    main(sys.argv[1])
