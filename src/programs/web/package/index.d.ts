export type Theme = 'light' | 'dark' | 'editor';

export interface ConvertOptions {
  /** The list of jump links in front of the code. */
  links?: boolean;
  /** "*" (the whole module, the default), "_Declarations_" or a procedure's name. */
  entry?: string;
  /** The theme's colours in style attributes instead of classes. */
  inlineStyles?: boolean;
  /** The page's or the inline styles' theme. */
  theme?: Theme;
  /** A standalone page with its style sheet instead of the fragment. */
  page?: boolean;
  /** With page: the lines numbered. */
  lineNumbers?: boolean;
  /** With page: its title. */
  title?: string;
  /** The module's name (default: its Attribute VB_Name, else Module1). */
  module?: string;
  /** The encoding of source bytes (default: guessed as the command guesses it). */
  encoding?: string;
}

export type Source = string | Uint8Array | ArrayBuffer;

export interface Entry {
  entry: string;
  first: number;
  last: number;
}

export interface DocumentModule {
  name: string;
  kind: string;
  code: string;
  html(options?: Omit<ConvertOptions, 'module' | 'encoding'>): string;
}

export interface Document {
  name: string;
  modules: DocumentModule[];
}

/** A command that failed: its exit status and its message. */
export class QuillmarkError extends Error {
  status: number;
}

export function convert(source: Source, options?: ConvertOptions): string;
export function list(source: Source, options?: { encoding?: string }): Entry[];
export function openDocument(bytes: Uint8Array | ArrayBuffer, options?: { name?: string; encoding?: string }): Document;
export function css(theme?: Theme, options?: { page?: boolean }): string;
