// End to end: gaugehost serve in headless Chromium, driven with Playwright.
//   node e2e.mjs GAUGEHOST LAYOUT OUTDIR
// Opens the page, clicks the battery switch (0x102C1 in the log, the lever's picture
// changes), holds the heading knob (repeated events), sets an engine speed (the RPM
// needle moves), shows the hotspots, and measures click-to-picture latency.
import { chromium } from 'playwright-core';
import { spawn } from 'node:child_process';
import { mkdirSync } from 'node:fs';

const [gaugehost, layout, outDir] = process.argv.slice(2);
mkdirSync(outDir, { recursive: true });
let failures = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures++;
};

const server = spawn(gaugehost, ['serve', '--port', '0', '--panel', layout], { stdio: ['ignore', 'pipe', 'inherit'] });
const url = await new Promise((resolve, reject) => {
  let out = '';
  server.stdout.on('data', d => {
    out += d;
    const m = out.match(/http:\/\/[0-9.]+:[0-9]+\//);
    if (m) resolve(m[0]);
  });
  server.on('exit', code => reject(new Error(`gaugehost serve ended (${code})`)));
  setTimeout(() => reject(new Error('gaugehost serve said nothing in 20 s')), 20000);
});

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage({ viewport: { width: 1900, height: 1060 } });
  page.setDefaultTimeout(15000);
  await page.goto(url);
  await page.waitForFunction(() => window.vk4 && window.vk4.frames > 0);
  const panel = await page.evaluate(() => fetch('/api/panel').then(r => r.json()));
  const gauge = name => panel.gauges.find(g => g.name === name);

  // Page coordinates of a point of a gauge, and a digest of the gauge's pixels.
  const pagePoint = async (name, x, y) => {
    const box = await page.locator('#panel').boundingBox();
    const g = gauge(name);
    const s = box.width / panel.size[0];
    return [box.x + (g.at[0] + x + 0.5) * s, box.y + (g.at[1] + y + 0.5) * s];
  };
  const pixels = name => page.evaluate(g => {
    const d = document.getElementById('panel').getContext('2d').getImageData(g.at[0], g.at[1], g.size[0], g.size[1]).data;
    let h = 0;
    for (let i = 0; i < d.length; i++) h = (h * 31 + d[i]) | 0;
    return h;
  }, gauge(name));
  const logged = event => page.evaluate(e => window.vk4.events.filter(x => x.event === e).length, event);

  // The battery switch: one event, the lever picture changes.
  const lever = await pixels('vk4_battery');
  await page.mouse.click(...await pagePoint('vk4_battery', 20, 24));
  await page.waitForSelector('#event-log li[data-event="0x102C1"]');
  check(await logged('0x102C1') === 1, 'a click on the battery switch sends 0x102C1 once');
  await page.waitForFunction(() => window.vk4.lastClickLatency !== null);
  check(await pixels('vk4_battery') !== lever, 'the battery lever picture changes');

  // Click-to-picture latency, over twenty clicks.
  const latencies = [];
  for (let i = 0; i < 20; i++) {
    await page.evaluate(() => { window.vk4.lastClickLatency = null; });
    await page.mouse.click(...await pagePoint('vk4_battery', 20, 24));
    await page.waitForFunction(() => window.vk4.lastClickLatency !== null);
    latencies.push(await page.evaluate(() => window.vk4.lastClickLatency));
  }
  latencies.sort((a, b) => a - b);
  console.log(`click to picture over ${latencies.length} clicks: median ${latencies[10].toFixed(1)} ms, ` +
              `slowest ${latencies[latencies.length - 1].toFixed(1)} ms`);
  // The floor under it: one bare request from the page to the host and back.
  const trip = await page.evaluate(async () => {
    const t = [];
    for (let i = 0; i < 20; i++) {
      const a = performance.now();
      await (await fetch('/api/scenarios')).text();
      t.push(performance.now() - a);
    }
    return t.sort((a, b) => a - b)[10];
  });
  console.log(`one bare request from the page and back: median ${trip.toFixed(1)} ms`);

  // The cursor follows the area: a hand over the switch, the up arrow over the knob's right half.
  await page.mouse.move(...await pagePoint('vk4_battery', 20, 24));
  check(await page.evaluate(() => document.getElementById('panel').style.cursor) === 'pointer', 'a hand over the switch');

  // Holding the heading knob's right half repeats its event.
  const before = await logged('0x10157');
  await page.mouse.move(...await pagePoint('vk4_knob_heading', 40, 26));
  check(await page.evaluate(() => document.getElementById('panel').style.cursor) === 'n-resize', 'an up arrow over the knob');
  await page.mouse.down();
  await page.waitForTimeout(1300);
  await page.mouse.up();
  await page.waitForTimeout(300);
  const held = (await logged('0x10157')) - before;
  check(held >= 5, `holding the heading knob sends 0x10157 again and again (${held} times)`);

  // Setting an engine speed moves the RPM needle.
  const needle = await pixels('vk4_rpm1');
  const input = page.locator('#vars tr[data-var="engine_1_rpm"] input');
  await input.fill('1500');
  await input.press('Enter');
  await page.waitForFunction(([g, h]) => {
    const d = document.getElementById('panel').getContext('2d').getImageData(g.at[0], g.at[1], g.size[0], g.size[1]).data;
    let x = 0;
    for (let i = 0; i < d.length; i++) x = (x * 31 + d[i]) | 0;
    return x !== h;
  }, [gauge('vk4_rpm1'), needle]);
  check(true, 'setting engine_1_rpm moves the RPM needle');

  // The hotspots.
  await page.locator('#show-hotspots').check();
  const shown = await page.evaluate(() => {
    const o = document.getElementById('hotspots');
    const d = o.getContext('2d').getImageData(0, 0, o.width, o.height).data;
    let lit = 0;
    for (let i = 3; i < d.length; i += 4) lit += d[i] > 0;
    return getComputedStyle(o).display !== 'none' && lit > 1000;
  });
  check(shown, 'the hotspots show over the panel');
  await page.screenshot({ path: `${outDir}/live-panel.png` });
} finally {
  await browser.close();
  server.kill('SIGTERM');
}
console.log(failures === 0 ? 'all checks passed' : `${failures} checks failed`);
process.exit(failures === 0 ? 0 : 1);
