#!/usr/bin/env python3
"""Writes the demo's settings file from resources/demo/veltrano-demo.ini.

The addresses point at the router simulator on this machine. With a telnet
family the router model, its status page, its telnet command line and the
user-defined figures taught on that model's page are set as a user would set
them. The window's size and state of the previous demo's file are kept.
Only loopback addresses are used: the v5 page is read from the simulator to
find where its figures stand.
"""
import argparse
import base64
import os
import re
import sys
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
TEMPLATE = os.path.join(HERE, '..', 'resources', 'demo', 'veltrano-demo.ini')

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
    """The [System] window keys of an earlier settings file, as lines."""
    try:
        text = open(previous, 'rb').read().decode('latin-1')
    except OSError:
        return []
    section, out = '', []
    for line in text.splitlines():
        s = line.strip()
        if s.startswith('['):
            section = s
        elif section == '[System]' and '=' in s:
            key, value = s.split('=', 1)
            # A bounded number only: the file is rewritten by the program, but may be anything.
            if key in WINDOW_KEYS and re.fullmatch(r'-?\d{1,6}', value.strip()):
                out.append('%s=%s' % (key, value.strip()))
    return out


def read_page(port, path):
    """A page of the simulator on this machine, with the demo's log-in; empty when it does not answer."""
    request = urllib.request.Request('http://127.0.0.1:%d%s' % (port, path))
    request.add_header('Authorization', 'Basic ' + base64.b64encode(b'admin:quillfen').decode())
    try:
        with urllib.request.urlopen(request, timeout=5) as reply:
            return reply.read(1 << 20).decode('latin-1')
    except OSError:
        return ''


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


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--family', default='', choices=sorted(FAMILIES))
    ap.add_argument('--http-port', required=True, type=int)
    ap.add_argument('--telnet-port', required=True, type=int)
    ap.add_argument('--web-port', required=True, type=int)
    ap.add_argument('--dir', required=True)
    ap.add_argument('--out', required=True)
    ap.add_argument('--previous', help='the last demo\'s settings file, for the window')
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
            if line == 'V1234=1':
                line = '\n'.join(router)
        out.append(line)
    if user is not None:
        text = '\n'.join(user)
        if '@V5TX@' in text:
            positions = v5_positions(read_page(a.http_port, status))
            if not positions:
                sys.exit('demo-settings: the v5 page has no WAN row to teach the user figures on')
            text = text.replace('@V5TX@', str(positions[0])).replace('@V5RX@', str(positions[1]))
        out.append(text)
    if a.family:
        out += ['[Telnet]', 'TelnetPort=%d' % a.telnet_port, 'UseHttpDebug=0', 'BitsRefresh=1',
                'RefreshBitsEvery=10'] + telnet
        if a.family == 'st585':
            out += ['[585Telnet]', 'TelnetPort=%d' % a.telnet_port, 'RefreshBits=1', 'BitsEvery=30']
    window = window_lines(a.previous) if a.previous else []
    if window:
        out += ['[System]'] + window
    data = ('\n'.join(out) + '\n').encode('latin-1')
    tmp = a.out + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, a.out)


if __name__ == '__main__':
    main()
