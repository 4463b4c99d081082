#!/usr/bin/env python3
"""Writes the demo's settings file from resources/demo/veltrano-demo.ini.

The addresses point at the router simulator on this machine. With a telnet
family the router model, its status page, its telnet command line and the
user-defined figures taught on that model's page are set as a user would set
them. The window's size and state of the previous demo's file are kept.
Only loopback addresses are used: the v5 page is read from the simulator to
find where its figures stand.

With --web-page it also writes the demo's web page, which shows the images
the program writes for this family's user-defined figures.
"""
import argparse
import base64
import html
import os
import re
import socket
import sys
import time
import urllib.error
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
TEMPLATE = os.path.join(HERE, '..', 'resources', 'demo', 'veltrano-demo.ini')
PAGE_TEMPLATE = os.path.join(HERE, '..', 'resources', 'demo', 'veltrano.htm')
# How long the simulator may take to answer on a busy machine.
PAGE_WAIT = 60

# Family: (status page, [Router] lines, [Telnet] lines, [Search]/[Graph] user figure lines or None to keep the
# Netgear page's).
FAMILIES = {
    '': ('/setup.cgi?next_file=stattbl.htm', ['V1234=1'], [], None),
    'ar7': ('/setup.cgi?next_file=stattbl.htm', ['V1234=1', 'Telnet=1'], ['V123=1'], None),
    # The generic page: data received and sent (kB), each taught 36 characters before its value.
    'adslctl': ('/status.htm', ['NotNetgear=1', 'V1234=0', 'Telnet=1'], ['V123=0', 'V4=1'],
                ['[Search]', 'UserText=lass="ttext">', 'UserPos=4800', 'UserText2=lass="ttext">', 'UserPos2=4957',
                 '[Graph]', 'Userlabel=Data received (kB)', 'Userlabel2=Data sent (kB)']),
    # The v5 page: the WAN row's packet counters.
    'adslinfo': ('/RST_stattbl.htm', ['V5=1', 'V1234=0', 'V5Telnet=1', 'Telnet=1'], ['V123=0', 'TelnetPrompt=/ #'],
                 ['[Search]', 'UserText=lass="ttext">', 'UserPos=@V5TX@', 'UserText2=lass="ttext">',
                  'UserPos2=@V5RX@', '[Graph]', 'Userlabel=WAN Tx packets', 'Userlabel2=WAN Rx packets']),
    # The 585's page: the FEC error pair by its label.
    'st585': ('/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0', ['ST585=1', 'V1234=0', 'cbLogin=0', 'Telnet=1'], [],
              ['[Search]', 'UserText=FEC Errors (Up/Down):', '[Graph]', 'Userlabel=FEC Errors (up)',
               'Userlabel2=FEC Errors (down)']),
}

# Keys of the window that the previous demo's file hands on.
WINDOW_KEYS = ('T', 'L', 'W', 'H', 'Window')


def window_lines(previous):
    """The [System] window keys of an earlier settings file, as lines: as the
    program reads them, from the first [System] section and the first line of each."""
    try:
        text = open(previous, 'rb').read().decode('latin-1')
    except OSError:
        return []
    systems, section, seen, out = 0, None, set(), []
    for line in text.splitlines():
        s = line.strip()
        name = header_name(line)
        if name is not None:
            section = name
            systems += name == 'system'
        elif section == 'system' and systems == 1 and '=' in s and not s.startswith((';', '#')):
            key, value = (part.strip() for part in s.split('=', 1))
            if key not in WINDOW_KEYS or key in seen:
                continue
            seen.add(key)
            # A bounded number only: the file is rewritten by the program, but may be anything.
            if re.fullmatch(r'-?\d{1,6}', value):
                out.append('%s=%s' % (key, value))
    return out


def read_page(port, path, wait=PAGE_WAIT):
    """A page of the simulator on this machine, with the demo's log-in.

    Tries again until it answers or `wait` seconds have passed; then ends the
    script saying what failed."""
    url = 'http://127.0.0.1:%d%s' % (port, path)
    request = urllib.request.Request(url)
    request.add_header('Authorization', 'Basic ' + base64.b64encode(b'admin:quillfen').decode())
    deadline = time.monotonic() + wait
    while True:
        left = deadline - time.monotonic()
        try:
            with urllib.request.urlopen(request, timeout=max(1.0, min(left, 15.0))) as reply:
                return reply.read(1 << 20).decode('latin-1')
        except urllib.error.HTTPError as e:
            # An answer, but not the page: waiting longer will not change it.
            sys.exit('demo-settings: the router simulator answered %s with %d %s' % (url, e.code, e.reason))
        except (OSError, socket.timeout) as e:
            if time.monotonic() >= deadline:
                sys.exit('demo-settings: the router simulator did not answer %s within %d s (%s)'
                         % (url, wait, getattr(e, 'reason', e)))
            time.sleep(0.5)


def v5_positions(page):
    """UserPos of the v5 page's WAN Tx and Rx packet cells, or None when the row is missing."""
    row = page.find('>WAN</td>')
    if row < 0:
        return None
    cells = [m.end() for m in re.finditer(r'class="ttext">', page[row:])][:3]
    if len(cells) < 3:
        return None
    # Values at 1-based row + end; taught 36 characters before.
    return row + cells[1] + 1 - 36, row + cells[2] + 1 - 36


def graph_settings(lines):
    """The [Graph] keys of settings lines (the last value of a key wins)."""
    section, keys = '', {}
    for line in lines:
        for part in line.split('\n'):
            s = part.strip()
            if s.startswith('['):
                section = s
            elif section == '[Graph]' and '=' in s and not s.startswith((';', '#')):
                key, value = s.split('=', 1)
                keys[key.strip().lower()] = value.strip()
    return keys


def user_chart_title(graph, figure):
    """The left-axis title of a user figure's chart, as the program makes it."""
    label = graph.get('userlabel' if figure == 1 else 'userlabel2', 'User defined')
    scale = graph.get('scaleuser1' if figure == 1 else 'scaleuser2', '1')
    # The difference mode's title wins over the scale's.
    if graph.get('diffuserdef' if figure == 1 else 'diffuserdef1', '0') == '1':
        return label + ' (per sample)'
    if scale.isdigit() and int(scale) > 1:
        return label + ' x' + scale
    return label


def web_image_name(title, chart, lower=()):
    """The file the program writes for a chart of that title in the web folder. When a chart of a
    lower number (lower: its (title, number) pairs) has a title of the same name, "_Chart" and the
    chart's number follow the name."""
    def base(text, number):
        name = text.replace(' ', '_')
        name = ''.join('_' if c in '"*,/:<>?\\|' else c for c in name).lstrip('.')
        return name or 'Chart%d' % number
    name = base(title, chart)
    if any(base(t, n).lower() == name.lower() for t, n in lower if n < chart):
        name += '_Chart%d' % chart
    return name + '.jpg'


def header_name(line):
    """The section a header line names, in lower case, or None for any other line."""
    s = line.strip()
    if s.startswith('[') and ']' in s:
        return s[1:s.index(']')].strip().lower()
    return None


def set_key(lines, section, key, value):
    """Sets a key in settings lines as the program reads it: only the first
    section of a name counts and, in it, the first line of a key. That line is
    changed in place; a key not there follows its section's last non-blank
    line, and a section not there goes at the end."""
    new = '%s=%s' % (key, value)
    start = next((i for i, line in enumerate(lines) if header_name(line) == section.lower()), None)
    if start is None:
        lines += ['', '[%s]' % section, new]
        return
    end = next((i for i in range(start + 1, len(lines)) if header_name(lines[i]) is not None), len(lines))
    last = start
    for i in range(start + 1, end):
        s = lines[i].strip()
        if '=' in s and not s.startswith((';', '#')) and s.split('=', 1)[0].strip().lower() == key.lower():
            lines[i] = new
            return
        if s:
            last = i
    lines.insert(last + 1, new)


def keys_of(lines):
    """(section, key, value) of settings lines that carry their section headers."""
    section, out = '', []
    for line in lines:
        if line.startswith('['):
            section = line.strip('[]')
        else:
            key, value = line.split('=', 1)
            out.append((section, key, value))
    return out


def write_atomically(path, data):
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--family', default='', choices=sorted(FAMILIES))
    ap.add_argument('--http-port', required=True, type=int)
    ap.add_argument('--telnet-port', required=True, type=int)
    ap.add_argument('--web-port', required=True, type=int)
    ap.add_argument('--dir', required=True)
    ap.add_argument('--out', required=True)
    ap.add_argument('--previous', help='the last demo\'s settings file, for the window')
    ap.add_argument('--web-page', help='where to write the demo\'s web page')
    a = ap.parse_args()

    status, router, telnet, user = FAMILIES[a.family]
    scrambled = bytes(255 - b for b in b'quillfen').decode('latin-1')
    out = []
    for line in open(TEMPLATE, 'rb').read().decode('latin-1').splitlines():
        if not line.lstrip().startswith((';', '#')):
            line = (line.replace('@PORT@', str(a.http_port)).replace('@WEBPORT@', str(a.web_port))
                    .replace('@DIR@', a.dir).replace('@PASSWORD@', scrambled))
            if user is not None and line.startswith(('UserText', 'UserPos', 'Userlabel')):
                continue
            if line == 'Login=http://127.0.0.1:%d/setup.cgi?next_file=stattbl.htm' % a.http_port:
                line = 'Login=http://127.0.0.1:%d%s' % (a.http_port, status)
        out.append(line)
    # The family's keys go into the template's sections: a second section of
    # the same name would not be read.
    settings = keys_of(['[Router]'] + router)
    if user is not None:
        text = '\n'.join(user)
        if '@V5TX@' in text:
            page = read_page(a.http_port, status)
            positions = v5_positions(page)
            if not positions:
                sys.exit('demo-settings: the v5 page (%d characters) has no WAN row to teach the user figures on'
                         % len(page))
            text = text.replace('@V5TX@', str(positions[0])).replace('@V5RX@', str(positions[1]))
        settings += keys_of(text.split('\n'))
    if a.family:
        settings += keys_of(['[Telnet]', 'TelnetPort=%d' % a.telnet_port, 'UseHttpDebug=0', 'BitsRefresh=1',
                             'RefreshBitsEvery=10'] + telnet)
        if a.family == 'st585':
            settings += keys_of(['[585Telnet]', 'TelnetPort=%d' % a.telnet_port, 'RefreshBits=1', 'BitsEvery=30'])
    window = window_lines(a.previous) if a.previous else []
    settings += keys_of(['[System]'] + window)
    for section, key, value in settings:
        set_key(out, section, key, value)
    write_atomically(a.out, ('\n'.join(out) + '\n').encode('latin-1'))
    if a.web_page:
        graph = graph_settings(out)
        page = open(PAGE_TEMPLATE, 'rb').read().decode('utf-8')
        # The two user figures' labels may be alike; no fixed chart's title is a router's figure.
        shown = []
        for figure, chart in ((1, 3), (2, 19)):
            title = user_chart_title(graph, figure)
            image = web_image_name(title, chart, shown)
            shown.append((title, chart))
            page = (page.replace('@USER%d_IMAGE@' % figure, html.escape(image))
                    .replace('@USER%d_TITLE@' % figure, html.escape(title)))
        write_atomically(a.web_page, page.encode('utf-8'))


if __name__ == '__main__':
    main()
