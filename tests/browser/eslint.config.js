// The report page's script and the browser tools: the recommended rules,
// run by the tests (Browser.ScriptLint).
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  {
    files: ['report/output/page/script/*.js'],
    languageOptions: {ecmaVersion: 2022, sourceType: 'script', globals: {...globals.browser, Chart: 'readonly'}},
  },
  {
    files: ['**/*.mjs'],
    languageOptions: {ecmaVersion: 2022, sourceType: 'module', globals: {...globals.node, ...globals.browser, Chart: 'readonly'}},
  },
];
