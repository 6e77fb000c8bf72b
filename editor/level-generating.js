// "Generate…": a level the generator makes in a worker and proves winnable, about as hard as the
// shipped level picked, loaded as one undoable step to edit from. Each pick takes a new seed and
// the message names it, so that `solver --generate --seed S --like N` makes the same level.
import { JobRunner } from './prover.js';
import { message } from './messages.js';

export class LevelGenerating {
  // loading: the LevelLoading the level goes in by; the signal ends the select's listener.
  constructor(select, loading, signal) {
    this.select = select;
    this.loading = loading;
    this.runner = new JobRunner({ spare: false });
    this.shipped = [];
    select.addEventListener('change', () => {
      const level = this.shipped.find((l) => String(l.number) === select.value);
      select.value = '';
      if (level) this.generate(level);
    }, { signal });
  }

  setShipped(shipped) {
    this.shipped = shipped;
    for (const level of shipped) {
      const option = document.createElement('option');
      option.value = level.number;
      option.textContent = `Like level ${level.number}`;
      this.select.append(option);
    }
  }

  async generate(level) {
    const seed = 1 + Math.floor(Math.random() * 1e6);
    const target = level.rates['100'].wins / level.rates['100'].trials;
    message(`Generating a level about as hard as level ${level.number} (seed ${seed})…`, { lasting: true });
    this.select.disabled = true;
    try {
      const done = await this.runner.run({ type: 'generate', seed, target });
      if (!done) return;
      if (done.result.found) this.loading.text(done.result.text, `a level generated like level ${level.number} from seed ${seed}`);
      else message(`The generator found no level like level ${level.number} from seed ${seed}; pick it again for another seed.`, { error: true });
    } catch (error) {
      message('The generator stopped: ' + error.message, { error: true });
    } finally {
      this.select.disabled = false;
    }
  }

  stop() { this.runner.stop(); }
}
