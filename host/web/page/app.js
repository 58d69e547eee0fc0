// The live panel page: draws the gauges' pictures on a canvas, sends the mouse to the
// host, and shows the key events, the variables and a running scenario.
'use strict';

const canvas = document.getElementById('panel');
const overlay = document.getElementById('hotspots');
const ctx = canvas.getContext('2d');
const status = document.getElementById('status');
let panel = null;           // /api/panel
const pictures = new Map(); // gauge name -> Image
let frame = 0, eventSeq = 0, panelVersion = -1;
let pendingClick = null;    // when a press was sent, to measure click-to-picture
window.vk4 = { frames: 0, lastClickLatency: null, events: [] };

const cursors = { 5: 'pointer', 1: 'n-resize', 2: 's-resize' };

async function api(path, body) {
  const r = await fetch(path, body === undefined ? {} : {
    method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body) });
  const j = await r.json();
  if (!r.ok) throw new Error(j.error || r.statusText);
  return j;
}

async function loadPanel() {
  panel = await api('/api/panel');
  panelVersion = panel.panel;
  canvas.width = overlay.width = panel.size[0];
  canvas.height = overlay.height = panel.size[1];
  pictures.clear();
  frame = 0;
  drawHotspots();
  const left = panel.left_out.length ? `; not built yet: ${panel.left_out.join(', ')}` : '';
  status.textContent = `${panel.gauges.length} gauges at ${panel.rate} frames a second${left}`;
}

// Draws again only where gauges changed: each changed gauge's rectangle, with every
// gauge that reaches into it, in drawing order.
function redraw(changed) {
  const rects = changed === undefined ? [[0, 0, canvas.width, canvas.height]]
    : panel.gauges.filter(g => changed.has(g.name)).map(g => [g.at[0], g.at[1], g.size[0], g.size[1]]);
  for (const [x, y, w, h] of rects) {
    ctx.save();
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
    ctx.fillStyle = panel.colour;
    ctx.fillRect(x, y, w, h);
    for (const g of panel.gauges) {
      const img = pictures.get(g.name);
      if (img && g.at[0] < x + w && x < g.at[0] + g.size[0] && g.at[1] < y + h && y < g.at[1] + g.size[1])
        ctx.drawImage(img, g.at[0], g.at[1]);
    }
    ctx.restore();
  }
}

function drawHotspots() {
  const o = overlay.getContext('2d');
  o.clearRect(0, 0, overlay.width, overlay.height);
  o.font = 'bold 10px system-ui, sans-serif';
  for (const g of panel.gauges)
    for (const a of g.areas) {
      const [x, y, w, h] = [g.at[0] + a.box[0], g.at[1] + a.box[1], a.box[2], a.box[3]];
      o.fillStyle = 'rgba(255, 215, 30, 0.22)';
      o.fillRect(x, y, w, h);
      o.strokeStyle = 'rgb(255, 215, 30)';
      o.strokeRect(x + 0.5, y + 0.5, w - 1, h - 1);
      if (a.label) {
        o.fillStyle = 'rgba(0, 0, 0, 0.7)';
        o.fillRect(x + 1, y + 1, o.measureText(a.label).width + 4, 12);
        o.fillStyle = 'rgb(255, 230, 80)';
        o.fillText(a.label, x + 3, y + 10);
      }
    }
}

// What changed, from a frame request or from the answer to a press.
async function apply(f) {
  if (f.frame <= frame && f.gauges.length === 0 && f.events.length === 0) return;
  frame = Math.max(frame, f.frame);
  // Decoded off the page's thread, then drawn at once.
  await Promise.all(f.gauges.map(async g => {
    const bytes = Uint8Array.from(atob(g.png), c => c.charCodeAt(0));
    try { pictures.set(g.name, await createImageBitmap(new Blob([bytes], { type: 'image/png' }))); }
    catch (e) { /* a picture that does not decode keeps the last one */ }
  }));
  if (f.gauges.length) {
    redraw(f.gauges.length === panel.gauges.length ? undefined : new Set(f.gauges.map(g => g.name)));
    window.vk4.frames++;
    if (pendingClick !== null) {
      window.vk4.lastClickLatency = performance.now() - pendingClick;
      pendingClick = null;
    }
  }
  showEvents(f.events.filter(e => e.seq > eventSeq));
  showVars(f.vars);
  showScenario(f.scenario);
}

async function frames() {
  for (;;) {
    try {
      const f = await api(`/api/frame?since=${frame}&events=${eventSeq}&wait=1000`);
      if (f.panel !== panelVersion) { await loadPanel(); continue; }
      await apply(f);
    } catch (e) {
      status.textContent = 'lost the host: ' + e.message + ' (retrying)';
      await new Promise(r => setTimeout(r, 1000));
    }
  }
}

function showEvents(events) {
  const log = document.getElementById('event-log');
  for (const e of events) {
    eventSeq = Math.max(eventSeq, e.seq);
    window.vk4.events.push(e);
    const li = document.createElement('li');
    li.dataset.event = e.event;
    li.innerHTML = `${e.event}=${e.value} <span class="role"></span>`;
    li.querySelector('.role').textContent = e.role;
    log.prepend(li);
  }
  while (log.children.length > 200) log.lastChild.remove();
}

const varRows = new Map();
function showVars(vars) {
  const body = document.querySelector('#vars tbody');
  for (const [name, value] of Object.entries(vars)) {
    let row = varRows.get(name);
    if (!row) {
      row = document.createElement('tr');
      row.dataset.var = name;
      row.innerHTML = '<td class="name"></td><td class="value"></td><td><input aria-label="new value"></td>';
      row.querySelector('.name').textContent = name;
      const input = row.querySelector('input');
      input.addEventListener('keydown', async ev => {
        if (ev.key !== 'Enter') return;
        try { await api('/api/vars', { var: name, value: input.value }); input.value = ''; }
        catch (e) { input.setCustomValidity(e.message); input.reportValidity(); }
      });
      input.addEventListener('input', () => input.setCustomValidity(''));
      body.appendChild(row);
      varRows.set(name, row);
    }
    const shown = typeof value === 'number' ? +value.toFixed(4) : value;
    row.querySelector('.value').textContent = shown;
  }
  filterVars();
}

function filterVars() {
  const f = document.getElementById('var-filter').value.toLowerCase();
  for (const [name, row] of varRows) row.hidden = f !== '' && !name.includes(f);
}
document.getElementById('var-filter').addEventListener('input', filterVars);

function showScenario(s) {
  const p = document.getElementById('scenario-progress');
  p.className = s.state === 'failed' ? 'failed' : s.state === 'passed' ? 'passed' : '';
  if (s.state === 'running') p.textContent = `${s.name}: command ${s.command} of ${s.commands} (line ${s.line ?? ''}, ${s.verb ?? ''})`;
  else if (s.state === 'passed') p.textContent = `${s.name}: passed, ${s.expectations} expectations met`;
  else if (s.state === 'failed') p.textContent = `${s.name}: ${s.error}`;
  else p.textContent = 'none running';
}

// ---- the mouse
function panelPoint(ev) {
  const r = canvas.getBoundingClientRect();
  return [Math.floor((ev.clientX - r.left) * canvas.width / r.width),
          Math.floor((ev.clientY - r.top) * canvas.height / r.height)];
}
function areaAt(x, y) {
  for (let i = panel.gauges.length - 1; i >= 0; --i) {
    const g = panel.gauges[i];
    const [lx, ly] = [x - g.at[0], y - g.at[1]];
    if (lx < 0 || ly < 0 || lx >= g.size[0] || ly >= g.size[1]) continue;
    for (const a of g.areas)
      if (lx >= a.box[0] && ly >= a.box[1] && lx < a.box[0] + a.box[2] && ly < a.box[1] + a.box[3]) return a;
    return null;
  }
  return null;
}
const buttons = ['left', 'middle', 'right'];
canvas.addEventListener('mousemove', ev => {
  if (!panel) return;
  const a = areaAt(...panelPoint(ev));
  canvas.style.cursor = a ? (cursors[a.cursor] || 'default') : 'default';
});
canvas.addEventListener('mousedown', async ev => {
  ev.preventDefault();
  const [x, y] = panelPoint(ev);
  pendingClick = performance.now();
  try {
    await api('/api/mouse', { action: 'down', x, y, button: buttons[ev.button] || 'left' });
  } catch (e) { status.textContent = e.message; }
});
const release = () => api('/api/mouse', { action: 'up' }).catch(() => {});
canvas.addEventListener('mouseup', release);
canvas.addEventListener('mouseleave', ev => { if (ev.buttons) release(); });
canvas.addEventListener('contextmenu', ev => ev.preventDefault());

// ---- controls
document.getElementById('show-hotspots').addEventListener('change', ev =>
  overlay.classList.toggle('on', ev.target.checked));
document.getElementById('run-scenario').addEventListener('click', async () => {
  const name = document.getElementById('scenario-list').value;
  try { await api('/api/scenario', { name }); } catch (e) { showScenario({ state: 'failed', name, error: e.message }); }
});
document.getElementById('reset').addEventListener('click', () => api('/api/reset', {}).catch(e => status.textContent = e.message));

(async () => {
  await loadPanel();
  const list = document.getElementById('scenario-list');
  for (const n of await api('/api/scenarios')) list.add(new Option(n, n));
  frames();
})();
